// An exact 8-bit BMP of a picture with at most 256 colours: drawings, flags
// and screenshots often come out of fitting that way, and run-length coded
// they are smaller than a JPEG and keep their sharp edges. The player's
// decoder reads BMP in every variant Windows knows, RLE8 included.
#pragma once

#include <cstdint>
#include <optional>

#include "core/packed_quiz.h"

namespace kelvo::pack {

// `rgb` holds width x height pixels, 3 bytes each, top row first. Gives the
// smaller of the RLE8 and the uncompressed file, or nothing when the
// picture has more than 256 colours.
std::optional<Bytes> paletteBitmap(const std::uint8_t* rgb, int width, int height);

}  // namespace kelvo::pack
