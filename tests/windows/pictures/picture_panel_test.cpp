#include "support/player_fixture.h"

#include "resources/control_ids.h"

namespace kelvo::testing {
namespace {

// The pictures are the "IMG" resources of this test program (pictures.rc).
using PictureQuizTest = PlayerTest;

const std::vector<std::string> FiveAnswers = {"rouge", "vert", "jaune", "soleil", "lune"};

// Row 1 holds pictures 195, 260 and 130 high: each is centred in its cell and
// in the row's 260 pixels. Row 2 starts 60 below the boxes; its only picture
// makes it 130 high, and a missing picture leaves its box empty.
TEST_F(PictureQuizTest, EachBoxShowsItsOwnFittedPictureCentredInItsRow) {
    open({QuizKind::Picture, FiveAnswers, RevealMode::None});
    const struct { int id; Rect placed; FittedSize shown; } rows[] = {
        {9901, {46, 37, 260, 195}, {260, 195}}, {9902, {379, 5, 173, 260}, {173, 260}},
        {9903, {626, 70, 260, 130}, {260, 130}}, {9904, {46, 335, 260, 130}, {260, 130}},
        {9905, {336, 335, 260, 130}, {}}, {4001, {46, 275, 260, 20}, {}}, {4005, {336, 475, 260, 20}, {}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(placeInParent(control(row.id)), row.placed) << row.id;
        if (row.id > 9900) {
            EXPECT_EQ(sizeOf(shownBitmap(row.id - 9900)), row.shown) << row.id;
        }
    }
    EXPECT_NE(shownBitmap(3), shownBitmap(4)) << "two boxes never share one bitmap";
}

TEST_F(PictureQuizTest, PicturesMeasuredButNeverShownAreDeleted) {
    // Two questions: the row also measures picture 403, which no box shows.
    const int bitmapsBefore = liveHandles(HandleKind::GdiObject);
    const int loadsBefore = handlesTaken(HandleKind::GdiObject);
    open({QuizKind::Picture, {"rouge", "vert"}});
    EXPECT_EQ(liveHandles(HandleKind::GdiObject), bitmapsBefore + 2) << "only the two shown stay, owned by the panel";
    EXPECT_GE(handlesTaken(HandleKind::GdiObject), loadsBefore + 3) << "three pictures measured";
    EXPECT_EQ(sizeOf(shownBitmap(1)), (FittedSize{260, 195}));
    const HBITMAP shown = shownBitmap(1);
    close();
    EXPECT_EQ(liveHandles(HandleKind::GdiObject), bitmapsBefore);
    EXPECT_EQ(GetObjectType(shown), 0u) << "the panel deletes what its boxes showed";
}

// Text and picture: the label follows the answer, the picture does not.
TEST_F(PictureQuizTest, RevealPictureStaysOnceShownAndAMissingOneSwapsNothing) {
    open({QuizKind::Picture, FiveAnswers, RevealMode::TextAndPicture});
    const Rect placed = placeInParent(control(9901));
    EXPECT_FALSE(isShown(panel, PanelIds::revealLabel(1)));
    answer(4001, "rouge");
    EXPECT_EQ(verdict(4001), "BRAVO");
    EXPECT_TRUE(isShown(panel, PanelIds::revealLabel(1)));
    EXPECT_EQ(controlText(panel, PanelIds::revealLabel(1)), "Bien vu 1");
    EXPECT_EQ(sizeOf(shownBitmap(1)), (FittedSize{260, 260})) << "the square reveal picture";
    EXPECT_EQ(placeInParent(control(9901)), placed) << "the box keeps its place and size";
    const HBITMAP revealed = shownBitmap(1);
    answer(4001, "bleu");
    EXPECT_EQ(verdict(4001), "FAUX");
    EXPECT_FALSE(isShown(panel, PanelIds::revealLabel(1)));
    EXPECT_EQ(shownBitmap(1), revealed);

    const HBITMAP questionPicture = shownBitmap(3);
    answer(4003, "jaune");
    EXPECT_EQ(verdict(4003), "BRAVO");
    EXPECT_EQ(shownBitmap(3), questionPicture) << "without a reveal picture the question's stays";
    EXPECT_EQ(sizeOf(shownBitmap(3)), (FittedSize{260, 130}));
}

}  // namespace
}  // namespace kelvo::testing
