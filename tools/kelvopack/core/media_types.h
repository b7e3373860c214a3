// Recognising media files by their bytes: the player's picture decoder reads
// BMP, JPEG and GIF only, whatever a file's name says.
#pragma once

#include <string>

#include "core/packed_quiz.h"

namespace kelvo::pack {

enum class PictureFormat { Bmp, Jpeg, Gif, Unknown };

PictureFormat sniffPicture(const Bytes& bytes);

// File extension (without dot) for an extracted picture or clip. Clips keep
// the extension their content suggests, else the one the player gives them.
std::string pictureExtension(const Bytes& bytes);
std::string clipExtension(const Bytes& bytes, int kind);

}  // namespace kelvo::pack
