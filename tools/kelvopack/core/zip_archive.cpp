#include "core/zip_archive.h"

#include <array>
#include <limits>

namespace kelvo::pack {

namespace {

constexpr std::uint32_t LocalHeaderSignature = 0x04034B50;
constexpr std::uint32_t CentralHeaderSignature = 0x02014B50;
constexpr std::uint32_t EndRecordSignature = 0x06054B50;
constexpr std::uint16_t Stored = 0;
constexpr std::uint16_t Deflated = 8;
constexpr std::uint16_t Utf8Names = 1 << 11;   // general purpose flag bit 11
// 1 January 1980 at midnight, the earliest date the format holds.
constexpr std::uint16_t FixedDosTime = 0;
constexpr std::uint16_t FixedDosDate = (0 << 9) | (1 << 5) | 1;
constexpr std::uint32_t Limit = std::numeric_limits<std::uint32_t>::max();

constexpr std::array<std::uint32_t, 256> crcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

class LittleEndianWriter {
public:
    explicit LittleEndianWriter(Bytes& out) : out(out) {}
    void u16(std::uint32_t value) {
        out.push_back(static_cast<std::uint8_t>(value));
        out.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void u32(std::uint32_t value) {
        u16(value & 0xFFFF);
        u16(value >> 16);
    }
    void bytes(const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }
    void bytes(const Bytes& data) { out.insert(out.end(), data.begin(), data.end()); }

private:
    Bytes& out;
};

// Bounds-checked little-endian reads: 0 past the end, so callers check `has` first.
class LittleEndianReader {
public:
    explicit LittleEndianReader(const Bytes& bytes) : bytes(bytes) {}
    bool has(std::size_t at, std::size_t size) const { return at <= bytes.size() && size <= bytes.size() - at; }
    std::uint32_t u16(std::size_t at) const { return has(at, 2) ? bytes[at] | bytes[at + 1] << 8 : 0; }
    std::uint32_t u32(std::size_t at) const { return u16(at) | u16(at + 2) << 16; }
    Bytes slice(std::size_t at, std::size_t size) const {
        return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(at + size));
    }

private:
    const Bytes& bytes;
};

constexpr std::size_t EndRecordSize = 22;
constexpr std::size_t CentralHeaderSize = 46;
constexpr std::size_t LocalHeaderSize = 30;
constexpr std::uint16_t Encrypted = 1;   // general purpose flag bit 0
constexpr const char* NotAZip = "ce fichier n'est pas un zip lisible (abîmé ou incomplet).";

// The end record: the last 22 bytes, or followed by a comment of up to 64 KB.
std::optional<std::size_t> findEndRecord(const LittleEndianReader& read, std::size_t size) {
    if (size < EndRecordSize) return std::nullopt;
    const std::size_t last = size - EndRecordSize;
    for (std::size_t back = 0; back <= 0xFFFF && back <= last; ++back) {
        if (read.u32(last - back) == EndRecordSignature) return last - back;
    }
    return std::nullopt;
}

bool isAscii(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// What the local header and the central directory both say of an entry.
struct EntryRecord {
    std::uint16_t method = Stored;
    std::uint16_t flags = 0;
    std::uint32_t crc = 0;
    std::uint32_t storedSize = 0;
    std::uint32_t size = 0;
    std::uint32_t offset = 0;

    std::uint16_t versionNeeded() const { return method == Deflated ? 20 : 10; }
};

void writeCommonFields(LittleEndianWriter& out, const EntryRecord& record, const std::string& name) {
    out.u16(record.versionNeeded());
    out.u16(record.flags);
    out.u16(record.method);
    out.u16(FixedDosTime);
    out.u16(FixedDosDate);
    out.u32(record.crc);
    out.u32(record.storedSize);
    out.u32(record.size);
    out.u16(static_cast<std::uint32_t>(name.size()));
    out.u16(0);   // no extra field
}

}  // namespace

std::uint32_t zipCrc32(const Bytes& data) {
    static constexpr std::array<std::uint32_t, 256> table = crcTable();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::uint8_t byte : data) crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::optional<Bytes> writeZip(const std::vector<ZipEntry>& entries, const ZipCompressor* compressor) {
    if (entries.size() > 0xFFFF) return std::nullopt;
    Bytes archive;
    LittleEndianWriter out(archive);
    std::vector<EntryRecord> records;
    for (const ZipEntry& entry : entries) {
        if (entry.data.size() > Limit || entry.name.size() > 0xFFFF || archive.size() > Limit) return std::nullopt;
        EntryRecord record;
        record.flags = isAscii(entry.name) ? 0 : Utf8Names;
        record.crc = zipCrc32(entry.data);
        record.size = static_cast<std::uint32_t>(entry.data.size());
        record.offset = static_cast<std::uint32_t>(archive.size());
        Bytes deflated = compressor != nullptr && !entry.data.empty() ? compressor->deflate(entry.data) : Bytes{};
        const bool deflate = !deflated.empty() && deflated.size() < entry.data.size();
        record.method = deflate ? Deflated : Stored;
        record.storedSize = deflate ? static_cast<std::uint32_t>(deflated.size()) : record.size;

        out.u32(LocalHeaderSignature);
        writeCommonFields(out, record, entry.name);
        out.bytes(entry.name);
        out.bytes(deflate ? deflated : entry.data);
        records.push_back(record);
    }

    const std::size_t directoryOffset = archive.size();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const EntryRecord& record = records[i];
        out.u32(CentralHeaderSignature);
        out.u16(20);   // made by: MS-DOS attributes (none set), format 2.0
        writeCommonFields(out, record, entries[i].name);
        out.u16(0);    // no comment
        out.u16(0);    // disk 0
        out.u16(0);    // internal attributes
        out.u32(0);    // external attributes
        out.u32(record.offset);
        out.bytes(entries[i].name);
    }
    const std::size_t directorySize = archive.size() - directoryOffset;
    if (archive.size() > Limit) return std::nullopt;

    out.u32(EndRecordSignature);
    out.u16(0);   // this disk
    out.u16(0);   // the directory's disk
    out.u16(static_cast<std::uint32_t>(entries.size()));
    out.u16(static_cast<std::uint32_t>(entries.size()));
    out.u32(static_cast<std::uint32_t>(directorySize));
    out.u32(static_cast<std::uint32_t>(directoryOffset));
    out.u16(0);   // no comment
    return archive;
}

bool readZip(const Bytes& archive, std::vector<StoredZipEntry>& entries, std::string& error) {
    const LittleEndianReader read(archive);
    entries.clear();
    error = NotAZip;
    const std::optional<std::size_t> end = findEndRecord(read, archive.size());
    if (!end) return false;
    const std::uint32_t count = read.u16(*end + 10);
    std::size_t at = read.u32(*end + 16);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!read.has(at, CentralHeaderSize) || read.u32(at) != CentralHeaderSignature) return false;
        StoredZipEntry entry;
        const std::uint32_t flags = read.u16(at + 8);
        entry.method = static_cast<std::uint16_t>(read.u16(at + 10));
        entry.crc = read.u32(at + 16);
        const std::uint32_t storedSize = read.u32(at + 20);
        entry.size = read.u32(at + 24);
        const std::size_t nameSize = read.u16(at + 28);
        const std::size_t local = read.u32(at + 42);
        if (!read.has(at + CentralHeaderSize, nameSize)) return false;
        const Bytes name = read.slice(at + CentralHeaderSize, nameSize);
        entry.name.assign(name.begin(), name.end());
        at += CentralHeaderSize + nameSize + read.u16(at + 30) + read.u16(at + 32);
        if (!entry.name.empty() && entry.name.back() == '/') continue;   // a folder
        if (flags & Encrypted) {
            error = "le zip est protégé par un mot de passe : refaites-le sans mot de passe.";
            return false;
        }
        if (entry.method != Stored && entry.method != Deflated) {
            error = "le fichier \xC2\xAB " + entry.name + " \xC2\xBB du zip est compressé d'une façon que le studio ne lit pas : "
                    "refaites le zip avec l'Explorateur de Windows (« Envoyer vers », « Dossier compressé »).";
            return false;
        }
        if (!read.has(local, LocalHeaderSize) || read.u32(local) != LocalHeaderSignature) return false;
        const std::size_t data = local + LocalHeaderSize + read.u16(local + 26) + read.u16(local + 28);
        if (!read.has(data, storedSize)) return false;
        entry.data = read.slice(data, storedSize);
        entries.push_back(std::move(entry));
    }
    error.clear();
    return true;
}

bool zipEntryIntact(const StoredZipEntry& entry, const Bytes& data) {
    return data.size() == entry.size && zipCrc32(data) == entry.crc;
}

}  // namespace kelvo::pack
