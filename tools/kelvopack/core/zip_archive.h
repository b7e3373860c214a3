// The zip container of the packages kelvopack writes, from the published
// description of the format (local headers, central directory, end record):
// the entries in the order given, every date fixed, nothing from the machine,
// so the same entries always give the same bytes. Compression comes from
// outside (ZipCompressor), so a build without zlib writes stored entries with
// the same code. The reader gives each entry as stored: a deflated one is
// inflated by the caller (the studio asks the browser) and checked with its
// CRC.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/packed_quiz.h"

namespace kelvo::pack {

struct ZipEntry {
    std::string name;   // UTF-8, folders separated by "/"
    Bytes data;
};

class ZipCompressor {
public:
    virtual ~ZipCompressor() = default;
    // The bytes as raw deflate data (no zlib or gzip wrapper); empty when
    // they could not be compressed.
    virtual Bytes deflate(const Bytes& data) const = 0;
};

// CRC-32 as zip stores it (the polynomial 0xEDB88320, reflected).
std::uint32_t zipCrc32(const Bytes& data);

// The whole archive. Each entry is deflated when a compressor is given and
// that makes it smaller, else stored. Nothing when an entry or the archive
// outgrows the format's 32-bit sizes or 65535 entries (no zip64).
std::optional<Bytes> writeZip(const std::vector<ZipEntry>& entries, const ZipCompressor* compressor = nullptr);

// An entry as the archive holds it.
struct StoredZipEntry {
    std::string name;
    std::uint16_t method = 0;    // 0 stored, 8 deflated
    std::uint32_t crc = 0;
    std::uint32_t size = 0;      // once inflated
    Bytes data;                  // as stored
};

// Every file entry (folders left out), each within the archive's bounds;
// false with a French message for bytes that are no zip, or a zip whose
// entries are encrypted or compressed otherwise than by deflate.
bool readZip(const Bytes& archive, std::vector<StoredZipEntry>& entries, std::string& error);

// Whether inflated data is the entry's: its size and CRC.
bool zipEntryIntact(const StoredZipEntry& entry, const Bytes& data);

}  // namespace kelvo::pack
