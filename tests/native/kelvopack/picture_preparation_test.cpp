#include "core/picture_preparation.h"

#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include "core/palette_bitmap.h"
#include "core/picture_memory.h"
#include "kelvopack/quiz_folder.h"

namespace kelvo::pack {
namespace {

using testing::writtenPicture;

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

// Noise in the low bits keeps a picture above 256 colours, so that it is
// stored as a JPEG, which the tests can decode (stb reads no RLE8 BMP).
std::uint32_t noisy(std::uint32_t colour, int x, int y) { return colour ^ (0x010101u * ((x * 7 + y * 13) % 32)); }

// A phone's EXIF block, big-endian, holding only the orientation tag.
std::string withOrientation(const std::string& jpeg, int orientation) {
    const char app1[] = {'\xFF', '\xE1', 0, 34, 'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 42, 0, 0, 0, 8,
                         0, 1, 0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, static_cast<char>(orientation), 0, 0, 0, 0, 0, 0};
    return jpeg.substr(0, 2) + std::string(app1, sizeof app1) + jpeg.substr(2);
}

// A stored JPEG as the player shows it: its size, and the colour near each
// corner (top left, top right, bottom left, bottom right) as letters.
std::string shown(const Bytes& file) {
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &width, &height, &channels, 3);
    if (pixels == nullptr) return "no JPEG";
    std::string text = std::to_string(width) + " x " + std::to_string(height) + " ";
    const std::pair<int, int> corners[] = {{15, 15}, {width - 16, 15}, {15, height - 16}, {width - 16, height - 16}};
    for (const auto& [x, y] : corners) {
        const stbi_uc* p = pixels + 3 * (static_cast<std::size_t>(y) * width + x);
        text += "KBGCRMYW"[(p[0] > 127) * 4 + (p[1] > 127) * 2 + (p[2] > 127)];   // R red, G green, B blue, Y yellow, W white
    }
    stbi_image_free(pixels);
    return text;
}

TEST(StoredPictureSize, LongSideIsTheBoxShortSideAsThePlayerFitsTheOriginal) {
    const struct {
        int width, height;
        FittedSize stored;
        const char* why;
    } cases[] = {
        {3000, 4000, {195, 260}, "held upright"},
        {4105, 3000, {260, 190}, "the player's fit in double gives 259 x 190, and would fit that again"},
        {1000, 900, {260, 233}, "the shipped player's short side, whatever this build's floating point (234 in double)"},
        {4105, 4105, {260, 260}, "a square stays square, though its fit in double is 259 x 259"},
        {10000, 1, {260, 1}, "too thin for the player's fit, which would give no picture"},
    };
    for (const auto& c : cases) EXPECT_EQ(storedPictureSize(c.width, c.height), c.stored) << c.why;
}

std::string bmpHeader(int width, int height, int compression) {
    std::string header = "BM" + std::string(52, '\0');
    const auto put = [&header](std::size_t at, int value) {
        for (int i = 0; i < 4; ++i) header[at + i] = static_cast<char>(value >> (8 * i));
    };
    put(14, 40);
    put(18, width);
    put(22, height);
    header[26] = 1;
    header[28] = 8;
    put(30, compression);
    return header;
}

// What became of a picture, in words no other outcome contains: how it is
// stored and at what size (for a JPEG, as the player shows it), or why it is
// refused.
std::string outcome(const std::string& file, bool keepOriginals) {
    const PreparedPicture prepared = preparePicture(bytesOf(file), keepOriginals);
    if (!prepared.prepared()) return prepared.bytes.empty() ? prepared.error : "refused, yet bytes left";
    const PictureHeader stored = readPictureHeader(prepared.bytes);
    const std::string size = std::to_string(stored.width) + " x " + std::to_string(stored.height);
    switch (prepared.storedAs) {
        case StoredAs::Original: return (prepared.bytes == bytesOf(file) ? "as it is, " : "changed, ") + size;
        case StoredAs::PaletteBitmap: return (prepared.bytes.size() < prepared.jpegSize ? "BMP below its JPEG, " : "BMP, ") + size;
        default: return (prepared.bytes == bytesOf(file) ? "JPEG, the same bytes, " : "JPEG ") + shown(prepared.bytes);
    }
}

// A phone's photo is turned as the phone showed it; the transparent half of
// a PNG is laid on white.
TEST(PreparePicture, StoredAsItIsWhenThePlayerShowsItUnchangedElseFittedOrRefusedInFrench) {
    // Stored 40 x 20: red top left, green top right, blue bottom left, yellow bottom right.
    const std::string turned = writtenPicture('j', 40, 20, [](int x, int y) {
        return noisy(y < 10 ? (x < 20 ? 0xFF0000u : 0x00FF00u) : (x < 20 ? 0x0000FFu : 0xFFFF00u), x, y);
    });
    // Left half invisible (its colour must not show), right half opaque blue.
    const std::string halfInvisible = writtenPicture('p', 300, 200, [](int x, int y) { return noisy(x < 150 ? 0xFF000000u : 0x0000FFu, x, y); });
    const std::string photo = writtenPicture('j', 400, 300, [](int x, int y) { return noisy(0x808080, x, y); });
    const std::string flag = writtenPicture('p', 300, 200, [](int x, int) {
        return x < 100 ? 0x0055A4u : x < 200 ? 0xFFFFFFu : 0xEF4135u;
    });
    const std::string png = writtenPicture('p', 50, 40, [](int x, int y) { return noisy(0x336699, x, y); });
    const struct {
        std::string file;
        bool keepOriginals;
        std::string outcome;
        const char* why;
    } cases[] = {
        {testing::fittedJpeg(), false, "as it is, 260 x 195", "a fitted baseline JPEG"},
        {withOrientation(testing::fittedJpeg(), 6), false, "JPEG 195 x 260", "fitted, but to be turned"},
        {photo, false, "JPEG 260 x 195", "larger: fitted"},
        {photo, true, "as it is, 400 x 300", "kept as the author asked"},
        {withOrientation(turned, 1), false, "JPEG 260 x 130 RGBY", "as stored"},
        {withOrientation(turned, 2), false, "JPEG 260 x 130 GRYB", "mirrored"},
        {withOrientation(turned, 3), false, "JPEG 260 x 130 YBGR", "upside down"},
        {withOrientation(turned, 4), false, "JPEG 260 x 130 BYRG", "mirrored upside down"},
        {withOrientation(turned, 5), false, "JPEG 130 x 260 RBGY", "mirrored, turned a quarter left"},
        {withOrientation(turned, 6), false, "JPEG 130 x 260 BRYG", "turned a quarter right"},
        {withOrientation(turned, 7), false, "JPEG 130 x 260 YGBR", "mirrored, turned a quarter right"},
        {withOrientation(turned, 8), false, "JPEG 130 x 260 GYRB", "turned a quarter left"},
        {halfInvisible, false, "JPEG 260 x 173 WBWB", "transparency on white"},
        {flag, false, "BMP below its JPEG, 260 x 173", "three colours: an exact BMP, smaller than the JPEG"},
        {flag, true, "BMP below its JPEG, 260 x 173", "PNG, which the player cannot read, is converted all the same"},
        {"Ceci n'est pas une image.", false, "ni un BMP, ni un JPEG, ni un GIF, ni un PNG", "text"},
        {png.substr(0, png.size() / 2), false, "(PNG) est abîmé ou incomplet", "a PNG cut in its pixels"},
        {png.substr(0, 20), false, "(PNG) est abîmé ou incomplet", "a PNG cut in its header"},
        {std::string("RIFF\0\0\0\0WEBPVP8 ", 16), false, "WebP", "a format kelvopack does not read"},
        {bmpHeader(600, 400, 1), false, "RLE", "an RLE8 BMP to be reduced: stb cannot decode it"},
        {bmpHeader(6000, 4000, 0), true, "(24 mégapixels) ; la limite est de 20 mégapixels", "kept, too many pixels"},
        {bmpHeader(100, 100, 0) + std::string(20 << 20, '\0'), true, "20 Mo ; la limite est de 16 Mo", "kept, too large a file"},
    };
    for (const auto& c : cases) {
        const std::string what = outcome(c.file, c.keepOriginals);
        EXPECT_NE(what.find(c.outcome), std::string::npos) << c.why << ": " << what;
    }
}

TEST(PaletteBitmap, RunsAbsoluteStretchesAndLineEndsInRle8) {
    // Palette sorted: black 0, blue 1, green 2, red 3. Bottom row first:
    // green red green (a stretch of three, padded to a word), 17 black;
    // then the top row, 19 black and one blue.
    std::vector<std::uint8_t> rgb;
    const auto add = [&rgb](std::uint32_t colour, int count) {
        for (int i = 0; i < count; ++i) rgb.insert(rgb.end(), {std::uint8_t(colour >> 16), std::uint8_t(colour >> 8), std::uint8_t(colour)});
    };
    add(0x000000, 19), add(0x0000FF, 1);
    add(0x00FF00, 1), add(0xFF0000, 1), add(0x00FF00, 1), add(0x000000, 17);
    const std::optional<Bytes> file = paletteBitmap(rgb.data(), 20, 2);
    ASSERT_TRUE(file);
    const Bytes pixels = {0, 3, 2, 3, 2, 0, 17, 0, 0, 0, 19, 0, 1, 1, 0, 1};
    ASSERT_EQ(file->size(), 14u + 40 + 4 * 4 + pixels.size());
    EXPECT_EQ(Bytes(file->end() - pixels.size(), file->end()), pixels);
    EXPECT_EQ((*file)[10], 70) << "pixels after the headers and four colours";
    EXPECT_EQ((*file)[30], 1) << "BI_RLE8";
    EXPECT_EQ(Bytes(file->begin() + 54, file->begin() + 70), (Bytes{0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0}));
    for (std::uint32_t colour = 0x100; colour < 0x100 + 252; ++colour) add(colour, 1);
    EXPECT_TRUE(paletteBitmap(rgb.data(), 292, 1)) << "256 colours";
    add(0x123456, 1);
    EXPECT_FALSE(paletteBitmap(rgb.data(), 293, 1)) << "257 colours";
}

TEST(PictureMemory, LargeBlocksServeTheNextPictureOfTheThread) {
    SpareBlocks spares;
    auto* block = static_cast<std::uint8_t*>(allocatePictureMemory(2 << 20));
    block[(2 << 20) - 1] = 42;
    block = static_cast<std::uint8_t*>(reallocatePictureMemory(block, 3 << 20));
    EXPECT_EQ(block[(2 << 20) - 1], 42) << "grown with its content";
    releasePictureMemory(block);
    EXPECT_EQ(allocatePictureMemory(5 << 19), block) << "the kept block, large enough";
    releasePictureMemory(block);
}

TEST(FrenchSize, AsWindowsShowsSizes) {
    const std::pair<std::size_t, const char*> cases[] = {
        {860, "860 octets"}, {14336, "14 Ko"}, {1468006, "1,4 Mo"}, {432013312, "412 Mo"}, {10485759, "10 Mo"}};
    for (const auto& [bytes, text] : cases) EXPECT_EQ(frenchSize(bytes), text);
}

}  // namespace
}  // namespace kelvo::pack
