// kelvopack's picture preparation on any bytes: header reading, decoding,
// fitting, turning and encoding must end in a French error and no bytes, or
// in a picture whose own header gives the size it was stored at.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "core/picture_preparation.h"

using namespace kelvo;

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

// Larger pictures are sound too, but decoding them takes longer than a
// fuzzing run should spend on one input.
constexpr long long MaxFuzzedPixels = 1 << 22;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const pack::Bytes file(data, data + size);
    const pack::PictureHeader header = pack::readPictureHeader(file);
    require(header.orientation >= 1 && header.orientation <= 8);
    if (static_cast<long long>(header.width) * header.height > MaxFuzzedPixels) return 0;
    for (const bool keepOriginals : {false, true}) {
        const pack::PreparedPicture picture = pack::preparePicture(file, keepOriginals);
        if (!picture.prepared()) {
            require(picture.bytes.empty());
            continue;
        }
        const pack::PictureHeader stored = pack::readPictureHeader(picture.bytes);
        require(stored.width == picture.width && stored.height == picture.height);
        if (picture.storedAs != pack::StoredAs::Original) {
            require(std::max(picture.width, picture.height) == PictureBoxSide && std::min(picture.width, picture.height) >= 1);
        }
    }
    return 0;
}
