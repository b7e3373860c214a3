#include "platform/picture_fit.h"

#include <algorithm>

namespace kelvo {

FittedSize fitWithin(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0 || boxWidth <= 0 || boxHeight <= 0) return {};
    const double ratio = std::min(static_cast<double>(boxWidth) / pictureWidth,
                                  static_cast<double>(boxHeight) / pictureHeight);
    return {static_cast<int>(pictureWidth * ratio), static_cast<int>(pictureHeight * ratio)};
}

}  // namespace kelvo
