#include "core/player_location.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <system_error>

namespace kelvo::pack {

namespace fs = std::filesystem;

namespace {

constexpr std::uint16_t MachineI386 = 0x014C;
constexpr std::uint16_t MachineAmd64 = 0x8664;
constexpr std::streamoff NewHeaderOffsetField = 0x3C;

std::uint32_t littleEndian(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

// Sub-folders of a build folder, sorted so that the search is repeatable.
std::vector<fs::path> buildTrees(const fs::path& buildFolder) {
    std::vector<fs::path> trees;
    std::error_code error;
    for (fs::directory_iterator it(buildFolder, error), end; !error && it != end; it.increment(error)) {
        if (it->is_directory(error)) trees.push_back(it->path());
    }
    std::sort(trees.begin(), trees.end());
    return trees;
}

}  // namespace

std::optional<Architecture> executableArchitecture(const fs::path& file) {
    std::ifstream stream(file, std::ios::binary);
    unsigned char header[4] = {};
    if (!stream.read(reinterpret_cast<char*>(header), 2) || header[0] != 'M' || header[1] != 'Z') return std::nullopt;
    if (!stream.seekg(NewHeaderOffsetField) || !stream.read(reinterpret_cast<char*>(header), 4)) return std::nullopt;
    const std::uint32_t peOffset = littleEndian(header, 4);
    unsigned char signature[6] = {};
    if (!stream.seekg(peOffset) || !stream.read(reinterpret_cast<char*>(signature), 6)) return std::nullopt;
    if (signature[0] != 'P' || signature[1] != 'E' || signature[2] != 0 || signature[3] != 0) return std::nullopt;
    switch (littleEndian(signature + 4, 2)) {
        case MachineI386: return Architecture::X86;
        case MachineAmd64: return Architecture::X64;
        default: return std::nullopt;
    }
}

std::vector<fs::path> playerCandidates(const fs::path& toolFolder) {
    std::vector<fs::path> candidates = {
        toolFolder / "kelvo.exe",
        toolFolder / "kelvo32.exe",
        toolFolder / "kelvo64.exe",
    };
    // kelvopack.exe is built into <tree>/tools/kelvopack, the player into
    // <tree>/src; other trees (other architectures) lie beside it.
    const fs::path tree = toolFolder.parent_path().parent_path();
    candidates.push_back(tree / "src" / "kelvo.exe");
    if (tree.has_parent_path()) {
        for (const fs::path& other : buildTrees(tree.parent_path())) {
            if (other != tree) candidates.push_back(other / "src" / "kelvo.exe");
        }
    }
    return candidates;
}

std::optional<fs::path> findPlayer(const fs::path& toolFolder, Architecture architecture) {
    for (const fs::path& candidate : playerCandidates(toolFolder)) {
        std::error_code error;
        if (fs::is_regular_file(candidate, error) && executableArchitecture(candidate) == architecture) return candidate;
    }
    return std::nullopt;
}

}  // namespace kelvo::pack
