// Deflate for the zip container, from zlib. Kept apart from the container so
// that a build without zlib (the studio page) writes stored entries instead.
#pragma once

#include "core/zip_archive.h"

namespace kelvo::pack {

class ZlibCompressor : public ZipCompressor {
public:
    // Level 9, the default strategy: zlib gives the same bytes for the same
    // input at the same level, so packages stay reproducible.
    Bytes deflate(const Bytes& data) const override;
};

}  // namespace kelvo::pack
