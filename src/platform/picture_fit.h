// The size a picture takes when it is scaled, proportions kept, to just fit
// a box: enlarged when smaller than the box, reduced when larger.
#pragma once

namespace kelvo {

struct FittedSize {
    int width = 0;
    int height = 0;
    bool operator==(const FittedSize& other) const { return width == other.width && height == other.height; }
};

// Pictures are fitted into a square box of this side wherever they are shown.
constexpr int PictureBoxSide = 260;

// Sides are truncated toward zero; a picture or box without area gives 0 x 0.
FittedSize fitWithin(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight);

}  // namespace kelvo
