// Recognising media files by their bytes, whatever a file's name says. The
// player's picture decoder reads BMP, JPEG and GIF; kelvopack also reads PNG
// and turns it into one of those.
#pragma once

#include <string>

#include "core/packed_quiz.h"

namespace kelvo::pack {

// WebP is recognised only to say that it cannot be read.
enum class PictureFormat { Bmp, Jpeg, Gif, Png, WebP, Unknown };

PictureFormat sniffPicture(const Bytes& bytes);
const char* pictureFormatName(PictureFormat format);

// File extension (without dot) for an extracted picture or clip. Clips keep
// the extension their content suggests, else the one the player gives them.
std::string pictureExtension(const Bytes& bytes);
// "image/jpeg", ..., for a data: URL.
std::string pictureMediaType(const Bytes& bytes);
std::string clipExtension(const Bytes& bytes, int kind);

}  // namespace kelvo::pack
