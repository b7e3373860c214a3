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

TEST_F(PlayerTest, LyingOrCutPicturesGiveABitmapOrNothingKeepNoHandleAndLeaveTheirBoxEmpty) {
    const std::string jpeg = imageResource(401), gif = imageResource(402);
    // One format's signature before another's body, a signature alone, then files cut anywhere.
    std::vector<std::string> files = {"GIF89a" + jpeg.substr(6), jpeg.substr(0, 4) + gif, "BM"};
    for (const std::string& whole : {jpeg, gif, imageResource(10401)})
        for (std::size_t length = 0; length < whole.size(); length += 1 + length / 8) files.push_back(whole.substr(0, length));
    const LiveCounts before = liveCounts();
    int decoded = 0;
    for (const std::string& file : files) decoded += decodesToABitmap(file) ? 1 : 0;
    EXPECT_EQ(liveCounts(), before);
    EXPECT_LT(decoded, static_cast<int>(files.size())) << "most are refused";
    EXPECT_FALSE(decodesToABitmap(imageResource(403))) << "a BMP that claims 100000 x 100000 pixels and carries none";
    EXPECT_EQ(decodePicture(nullptr, 100), nullptr);
    EXPECT_EQ(scaleToFit(nullptr, 260, 260), nullptr);
    EXPECT_EQ(liveCounts(), before);

    // In the panel question 3's picture is the lying BMP: its box shows
    // nothing, the other two show theirs, and answering still works.
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
