// Pictures whose bytes lie about what they hold may not crash or keep a
// handle: the decoder makes a bitmap or nothing.
#include "support/player_fixture.h"

#include "resources/control_ids.h"
#include "platform/win32/picture_loader.h"

namespace kelvo::testing {
namespace {

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
        {"BMP signature alone", "BM"},
        {"GIF signature before a JPEG body", "GIF89a" + jpeg.substr(6)},
        {"JPEG signature before a GIF body", jpeg.substr(0, 4) + gif},
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
