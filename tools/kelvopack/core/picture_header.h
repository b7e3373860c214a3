// What a picture file says about itself before it is decoded: its format,
// its size and, for a JPEG, how it is coded and how the camera held it.
// Read from the headers alone with every offset checked, so any bytes are
// safe to give it.
#pragma once

#include "core/media_types.h"
#include "core/packed_quiz.h"

namespace kelvo::pack {

struct PictureHeader {
    PictureFormat format = PictureFormat::Unknown;
    int width = 0;                 // as stored, before any orientation; 0 when unreadable
    int height = 0;
    int orientation = 1;           // EXIF orientation of a JPEG, 1 to 8 (1: as stored)
    bool baseline = false;         // JPEG coded in one sequential scan (SOF0)
    bool runLengthBitmap = false;  // BMP compressed with RLE4 or RLE8

    bool sizeKnown() const { return width > 0 && height > 0; }
    // Orientations 5 to 8 turn the picture a quarter: width and height swap.
    bool turnedOnItsSide() const { return orientation >= 5; }
};

PictureHeader readPictureHeader(const Bytes& bytes);

}  // namespace kelvo::pack
