// Finding the player executable to pack a quiz into: next to kelvopack.exe
// (how it is handed out), or in the build trees (how it is built here).
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

namespace kelvo::pack {

enum class Architecture { X86, X64 };

// From the executable's PE header; nullopt when it is no Windows executable
// of either kind.
std::optional<Architecture> executableArchitecture(const std::filesystem::path& file);

// Where to look, in order, given the folder that holds kelvopack.exe.
std::vector<std::filesystem::path> playerCandidates(const std::filesystem::path& toolFolder);

// The first candidate that exists and has the wanted architecture.
std::optional<std::filesystem::path> findPlayer(const std::filesystem::path& toolFolder, Architecture architecture);

}  // namespace kelvo::pack
