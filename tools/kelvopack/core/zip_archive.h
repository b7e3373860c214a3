// The zip container of the packages kelvopack writes, from the published
// description of the format (local headers, central directory, end record):
// the entries in the order given, every date fixed, nothing from the machine,
// so the same entries always give the same bytes. Compression comes from
// outside (ZipCompressor), so a build without zlib writes stored entries with
// the same code.
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

}  // namespace kelvo::pack
