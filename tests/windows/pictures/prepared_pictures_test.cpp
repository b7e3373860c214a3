// Pictures as kelvopack stores them, through the player's own decoder and
// fit: they come out at the size they were stored, whatever the build's
// floating-point precision, and an exact 8-bit BMP comes out exact.
#include <stb/stb_image.h>

#include <algorithm>

#include "core/picture_preparation.h"
#include "support/player_fixture.h"
#include "platform/win32/picture_loader.h"
#include "quiz/win32/executable_resources.h"

namespace kelvo::pack {
namespace {

using kelvo::testing::pixelsOf;
using kelvo::testing::sizeOf;

constexpr int Side = PictureBoxSide;

FittedSize fittedByThePlayer(const FittedSize& stored) {
    HDC screen = GetDC(nullptr);
    HBITMAP source = CreateCompatibleBitmap(screen, stored.width, stored.height);
    ReleaseDC(nullptr, screen);
    HBITMAP fitted = scaleToFit(source, Side, Side);
    EXPECT_EQ(GetObjectType(source), 0u) << "even a bitmap of the box's size is replaced";
    const FittedSize size = sizeOf(fitted);
    DeleteObject(fitted);
    return size;
}

TEST(PreparedPictures, ThePlayersFitLeavesEveryStoredSizeUnchanged) {
    const struct {
        int width, height;
    } originals[] = {{4000, 3000}, {3000, 4000}, {1280, 720}, {300, 200}, {200, 300}, {100, 50}, {4105, 3000}, {8267, 6000}};
    for (const auto& original : originals) {
        const FittedSize stored = storedPictureSize(original.width, original.height);
        EXPECT_EQ(std::max(stored.width, stored.height), Side);
        EXPECT_TRUE(fittedByThePlayer(stored) == stored) << original.width << " x " << original.height;
    }
    for (int shortSide = 1; shortSide <= Side; ++shortSide) {
        EXPECT_TRUE(fittedByThePlayer({Side, shortSide}) == (FittedSize{Side, shortSide})) << shortSide;
        EXPECT_TRUE(fittedByThePlayer({shortSide, Side}) == (FittedSize{shortSide, Side})) << shortSide;
    }
}

TEST(PreparedPictures, APalettePngBecomesAnExactBitmapThePlayerReads) {
    const Bytes png = resourceBytes(nullptr, "IMG", 902);
    const PreparedPicture prepared = preparePicture(png, false);
    ASSERT_EQ(prepared.storedAs, StoredAs::PaletteBitmap) << prepared.error;
    EXPECT_EQ(prepared.bytes[30], 1) << "run-length coded (RLE8)";

    HBITMAP decoded = decodePicture(prepared.bytes.data(), prepared.bytes.size());
    ASSERT_NE(decoded, nullptr) << "the platform decoder reads RLE8";
    const FittedSize size{260, 173};
    ASSERT_TRUE(sizeOf(decoded) == size);
    const std::vector<std::uint32_t> shown = pixelsOf(decoded, size);
    DeleteObject(decoded);

    // The original, its transparent entry on white.
    int width = 0, height = 0, channels = 0;
    stbi_uc* rgba = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &width, &height, &channels, 4);
    ASSERT_NE(rgba, nullptr);
    int wrong = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const stbi_uc* p = rgba + 4 * i;
        const std::uint32_t expected = p[3] == 0 ? 0xFFFFFFu : (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
        wrong += (shown[i] & 0xFFFFFF) != expected;
    }
    stbi_image_free(rgba);
    EXPECT_EQ(wrong, 0) << "pixels that differ from the original";
}

}  // namespace
}  // namespace kelvo::pack
