#include "web/studio/zip_folder.h"

#include <array>

namespace kelvo::studio {

namespace {

constexpr std::uint32_t LocalSignature = 0x04034b50;
constexpr std::uint32_t CentralSignature = 0x02014b50;
constexpr std::uint32_t EndSignature = 0x06054b50;
constexpr std::uint32_t Utf8Names = 1 << 11;
constexpr std::uint32_t NeededVersion = 20;
constexpr std::uint32_t FixedTime = 0;                          // 00:00:00
constexpr std::uint32_t FixedDate = (2000 - 1980) << 9 | 1 << 5 | 1;   // 2000-01-01: nothing from the clock
constexpr std::size_t EndSize = 22;

void put16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(Bytes& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// Bounds-checked little-endian reads.
class Reader {
public:
    explicit Reader(const Bytes& bytes) : bytes(bytes) {}
    bool has(std::size_t at, std::size_t size) const { return at <= bytes.size() && size <= bytes.size() - at; }
    std::uint32_t u16(std::size_t at) const { return has(at, 2) ? bytes[at] | bytes[at + 1] << 8 : 0; }
    std::uint32_t u32(std::size_t at) const { return u16(at) | u16(at + 2) << 16; }

private:
    const Bytes& bytes;
};

}  // namespace

std::uint32_t crc32(const Bytes& bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> values{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            values[n] = c;
        }
        return values;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::uint8_t byte : bytes) crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

Bytes zipFolder(const std::string& stem, const std::vector<FolderFile>& files) {
    Bytes out;
    Bytes central;
    for (const FolderFile& file : files) {
        const std::string name = stem + "/" + file.name;
        const std::uint32_t crc = crc32(file.bytes);
        const auto size = static_cast<std::uint32_t>(file.bytes.size());
        const auto offset = static_cast<std::uint32_t>(out.size());
        put32(out, LocalSignature);
        for (std::uint32_t field : {NeededVersion, Utf8Names, 0u, FixedTime, FixedDate}) put16(out, field);
        put32(out, crc);
        put32(out, size);
        put32(out, size);
        put16(out, static_cast<std::uint32_t>(name.size()));
        put16(out, 0);
        out.insert(out.end(), name.begin(), name.end());
        out.insert(out.end(), file.bytes.begin(), file.bytes.end());

        put32(central, CentralSignature);
        for (std::uint32_t field : {NeededVersion, NeededVersion, Utf8Names, 0u, FixedTime, FixedDate})
            put16(central, field);
        put32(central, crc);
        put32(central, size);
        put32(central, size);
        for (std::uint32_t field : {static_cast<std::uint32_t>(name.size()), 0u, 0u, 0u, 0u}) put16(central, field);
        put32(central, 0);   // external attributes
        put32(central, offset);
        central.insert(central.end(), name.begin(), name.end());
    }
    const auto centralOffset = static_cast<std::uint32_t>(out.size());
    out.insert(out.end(), central.begin(), central.end());
    put32(out, EndSignature);
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<std::uint32_t>(files.size()));
    put16(out, static_cast<std::uint32_t>(files.size()));
    put32(out, static_cast<std::uint32_t>(central.size()));
    put32(out, centralOffset);
    put16(out, 0);
    return out;
}

bool readZip(const Bytes& archive, std::vector<ZipEntry>& entries, std::string& error) {
    const Reader read(archive);
    entries.clear();
    error = "ce fichier n'est pas un zip lisible (abîmé ou incomplet).";
    // The end record is the last 22 bytes, or ends in a comment of up to 64 KB.
    std::size_t end = archive.size() < EndSize ? 0 : archive.size() - EndSize + 1;
    while (end > 0 && read.u32(end - 1) != EndSignature) --end;
    if (end == 0 || archive.size() - end + 1 > EndSize + 0xFFFF) return false;
    const std::size_t endAt = end - 1;
    const std::uint32_t count = read.u16(endAt + 10);
    std::size_t at = read.u32(endAt + 16);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!read.has(at, 46) || read.u32(at) != CentralSignature) return false;
        ZipEntry entry;
        const std::uint32_t flags = read.u16(at + 8);
        entry.method = static_cast<int>(read.u16(at + 10));
        entry.crc = read.u32(at + 16);
        const std::uint32_t storedSize = read.u32(at + 20);
        entry.size = read.u32(at + 24);
        const std::uint32_t nameSize = read.u16(at + 28);
        const std::uint32_t extraSize = read.u16(at + 30);
        const std::uint32_t commentSize = read.u16(at + 32);
        const std::size_t local = read.u32(at + 42);
        if (!read.has(at + 46, nameSize)) return false;
        entry.name.assign(archive.begin() + static_cast<long>(at + 46), archive.begin() + static_cast<long>(at + 46 + nameSize));
        at += 46 + nameSize + extraSize + commentSize;
        if (flags & 1) {
            error = "le zip est chiffré (protégé par un mot de passe) : enregistrez le dossier dans un zip sans mot de passe.";
            return false;
        }
        if (!entry.name.empty() && entry.name.back() == '/') continue;   // a folder
        if (entry.method != 0 && entry.method != 8) {
            error = "le zip utilise une compression que le studio ne lit pas (" + entry.name + ") : refaites-le avec l'Explorateur.";
            return false;
        }
        if (!read.has(local, 30) || read.u32(local) != LocalSignature) return false;
        const std::size_t data = local + 30 + read.u16(local + 26) + read.u16(local + 28);
        if (!read.has(data, storedSize)) return false;
        entry.data.assign(archive.begin() + static_cast<long>(data), archive.begin() + static_cast<long>(data + storedSize));
        entries.push_back(std::move(entry));
    }
    error.clear();
    return true;
}

}  // namespace kelvo::studio
