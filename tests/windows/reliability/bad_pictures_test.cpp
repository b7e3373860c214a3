// Picture resources whose bytes lie about what they hold: a header that
// promises more than follows, one format's signature before another's
// body, files cut anywhere. None may crash or keep a handle; the decoder
// either makes a bitmap or nothing.
#include "support/player_fixture.h"

#include <algorithm>
#include <cstring>

#include "resources/control_ids.h"
#include "platform/win32/picture_loader.h"

namespace kelvo::testing {
namespace {

void appendLittleEndian(std::string& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xff);
}

// A BMP file header and info header as the fields say, followed by `pixels`.
std::string bmpFile(int width, int height, int bits, std::uint32_t pixelOffset, const std::string& pixels) {
    std::string bytes = "BM";
    appendLittleEndian(bytes, static_cast<std::uint32_t>(54 + pixels.size()), 4);
    appendLittleEndian(bytes, 0, 4);
    appendLittleEndian(bytes, pixelOffset, 4);
    appendLittleEndian(bytes, 40, 4);
    appendLittleEndian(bytes, static_cast<std::uint32_t>(width), 4);
    appendLittleEndian(bytes, static_cast<std::uint32_t>(height), 4);
    appendLittleEndian(bytes, 1, 2);
    appendLittleEndian(bytes, static_cast<std::uint32_t>(bits), 2);
    bytes += std::string(24, '\0');
    return bytes + pixels;
}

// Decodes and fits the bytes as the panel would; true when a bitmap came out.
bool decodesToABitmap(const std::string& bytes) {
    HBITMAP decoded = decodePicture(bytes.data(), bytes.size());
    if (decoded == nullptr) return false;
    HBITMAP fitted = scaleToFit(decoded, 260, 260);  // takes `decoded`
    if (fitted != nullptr) DeleteObject(fitted);
    return true;
}

TEST(BadPictures, LyingHeadersGiveABitmapOrNothingAndKeepNoHandle) {
    const std::string jpeg = imageResource(401);
    const std::string gif = imageResource(402);
    ASSERT_FALSE(jpeg.empty());
    struct Case {
        const char* why;
        std::string bytes;
    } cases[] = {
        {"BMP that claims 100000 x 100000 pixels and carries none", imageResource(403)},
        {"BMP whose pixels would start past the end", bmpFile(4, 4, 24, 100000, std::string(48, '\x7f'))},
        {"BMP with a negative width", bmpFile(-4, 4, 24, 54, std::string(48, '\x7f'))},
        {"BMP with 7 bits per pixel", bmpFile(4, 4, 7, 54, std::string(48, '\x7f'))},
        {"BMP signature alone", "BM"},
        {"GIF signature before a JPEG body", "GIF89a" + jpeg.substr(6)},
        {"JPEG signature before a GIF body", jpeg.substr(0, 4) + gif},
        {"BMP signature before a JPEG body", "BM" + jpeg.substr(2)},
        {"JPEG start and end markers only", std::string("\xFF\xD8\xFF\xD9", 4)},
        {"a zero byte", std::string(1, '\0')},
    };
    const LiveCounts before = liveCounts();
    for (const Case& test : cases) {
        SCOPED_TRACE(test.why);
        decodesToABitmap(test.bytes);
        EXPECT_EQ(liveCounts(), before);
    }
    EXPECT_FALSE(decodesToABitmap(imageResource(403))) << "no pixels: no picture";
}

TEST(BadPictures, FilesCutAnywhereKeepNoHandle) {
    const LiveCounts before = liveCounts();
    int decoded = 0;
    int tried = 0;
    for (int id : {401, 402, 10401}) {
        const std::string whole = imageResource(id);
        ASSERT_FALSE(whole.empty());
        for (std::size_t length = 0; length < whole.size(); length += 1 + length / 8, ++tried)
            if (decodesToABitmap(whole.substr(0, length))) ++decoded;
    }
    EXPECT_EQ(liveCounts(), before);
    EXPECT_LT(decoded, tried) << "most cut files are refused";
}

TEST_F(PlayerTest, PanelLaysOutARowWhosePictureLies) {
    // Question 3's picture is the lying BMP header: its box shows nothing,
    // the other two show their pictures, and answering still works.
    open({QuizKind::Picture, {"rouge", "vert", "bleu"}, RevealMode::Picture});
    EXPECT_NE(shownBitmap(1), nullptr);
    EXPECT_NE(shownBitmap(2), nullptr);
    EXPECT_EQ(shownBitmap(3), nullptr);
    answer(PanelIds::answerBox(2), "bleu");
    EXPECT_EQ(verdict(PanelIds::answerBox(2)), "BRAVO");
    EXPECT_EQ(shownBitmap(3), nullptr) << "no reveal picture either";
}

}  // namespace
}  // namespace kelvo::testing
