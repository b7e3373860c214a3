#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/control_ids.h"
#include "quiz/quiz.h"
#include "quiz/win32/gdi_drawing_objects.h"
#include "shell/win32/application.h"
#include "picture_testing.h"
#include "support/player_session.h"
#include "support/window_testing.h"

namespace kelvo::testing {
namespace {

// The player's real windows around a quiz of the test's making; the
// pictures are the "IMG" resources of this test program (pictures.rc).
class PictureQuizTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteFileA(savedAnswersFileName().c_str()); }

    void TearDown() override {
        closePlayerWindows(mainWindow);
        DeleteFileA(savedAnswersFileName().c_str());
    }

    void open(int kind, int revealMode, const std::vector<std::string>& answers) {
        beginPlayerStartUp();
        theQuiz = std::make_unique<Quiz>(drawing);
        theQuiz->kind = kind;
        theQuiz->revealMode = revealMode;
        theQuiz->questionCount = static_cast<int>(answers.size());
        copyText(theQuiz->title, "Quiz en images");
        for (std::size_t i = 0; i < answers.size(); ++i) {
            const std::string prompt = "Image " + std::to_string(i + 1);
            theQuiz->addQuestion(answers[i].c_str(), "", prompt.c_str());
            copyText(theQuiz->lastQuestion()->revealText, ("C'est " + answers[i]).c_str());
        }
        mainWindow = openPlayerWindows();
        ASSERT_NE(mainWindow, nullptr);
        panel = questionPanelWindow;
    }

    HWND control(int id) const { return GetDlgItem(panel, id); }
    HBITMAP shownBitmap(int question) const {
        return reinterpret_cast<HBITMAP>(SendMessageA(control(PanelIds::pictureBox(question)), STM_GETIMAGE,
                                                      IMAGE_BITMAP, 0));
    }
    FittedSize shownSize(int question) const { return sizeOf(shownBitmap(question)); }
    void answer(int boxId, const char* text) {
        SetWindowTextA(control(boxId), text);
        SendMessageA(control(boxId), WM_KEYUP, VK_RETURN, 0xC0000001);
    }
    std::string verdict(int boxId) const { return controlText(panel, boxId + PanelIds::VerdictOffset); }

    GdiDrawingObjects drawing;
    HWND mainWindow = nullptr;
    HWND panel = nullptr;
};

const std::vector<std::string> FiveAnswers = {"rouge", "vert", "jaune", "soleil", "lune"};

// Row 1 holds pictures 195, 260 and 130 high: each is centred in its cell and
// in the row's 260 pixels. Row 2 starts 60 below the boxes; its only picture
// makes it 130 high, and a missing picture leaves its box empty.
TEST_F(PictureQuizTest, EachBoxShowsItsOwnFittedPictureCentredInItsRow) {
    open(QuizKind::Picture, RevealMode::None, FiveAnswers);
    const struct { int id; Rect placed; FittedSize shown; } rows[] = {
        {9901, {46, 37, 260, 195}, {260, 195}}, {9902, {379, 5, 173, 260}, {173, 260}},
        {9903, {626, 70, 260, 130}, {260, 130}}, {9904, {46, 335, 260, 130}, {260, 130}},
        {9905, {336, 335, 260, 130}, {}}, {4001, {46, 275, 260, 20}, {}}, {4005, {336, 475, 260, 20}, {}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(placeInParent(control(row.id)), row.placed) << row.id;
        if (row.id > 9900) {
            EXPECT_EQ(shownSize(row.id - 9900), row.shown) << row.id;
        }
    }
    EXPECT_NE(shownBitmap(3), shownBitmap(4)) << "two boxes never share one bitmap";
}

TEST_F(PictureQuizTest, PicturesMeasuredButNeverShownAreDeleted) {
    // Two questions: the row also measures picture 403, which no box shows.
    const int bitmapsBefore = liveHandles(HandleKind::GdiObject);
    const int loadsBefore = handlesTaken(HandleKind::GdiObject);
    open(QuizKind::Picture, RevealMode::None, {"rouge", "vert"});
    EXPECT_EQ(liveHandles(HandleKind::GdiObject), bitmapsBefore + 2) << "only the two shown stay, owned by the panel";
    EXPECT_GE(handlesTaken(HandleKind::GdiObject), loadsBefore + 3) << "three pictures measured";
    EXPECT_EQ(shownSize(1), (FittedSize{260, 195}));
    const HBITMAP shown = shownBitmap(1);
    DestroyWindow(mainWindow);
    mainWindow = nullptr;
    EXPECT_EQ(liveHandles(HandleKind::GdiObject), bitmapsBefore);
    EXPECT_EQ(GetObjectType(shown), 0u) << "the panel deletes what its boxes showed";
}

TEST_F(PictureQuizTest, RevealPictureStaysOnceShownSwapsReturnEveryHandleAndAMissingOneSwapsNothing) {
    open(QuizKind::Picture, RevealMode::Picture, FiveAnswers);
    const Rect placed = placeInParent(control(9901));
    const auto before = liveCounts();
    for (int round = 0; round < 20; ++round) answer(4001, "rouge");
    EXPECT_EQ(liveCounts(), before);
    EXPECT_EQ(verdict(4001), "BRAVO");
    EXPECT_EQ(shownSize(1), (FittedSize{260, 260})) << "the square reveal picture";
    EXPECT_EQ(placeInParent(control(9901)), placed) << "the box keeps its place and size";
    const HBITMAP revealed = shownBitmap(1);
    answer(4001, "bleu");
    EXPECT_EQ(verdict(4001), "FAUX");
    EXPECT_EQ(shownBitmap(1), revealed);
    EXPECT_FALSE(isShown(panel, PanelIds::revealLabel(1))) << "mode 1 has no reveal labels";

    const HBITMAP questionPicture = shownBitmap(3);
    answer(4003, "jaune");
    EXPECT_EQ(verdict(4003), "BRAVO");
    EXPECT_EQ(shownBitmap(3), questionPicture) << "without a reveal picture the question's stays";
    EXPECT_EQ(shownSize(3), (FittedSize{260, 130}));
}

TEST_F(PictureQuizTest, TextAndPictureModeShowsTheLabelAndSwaps) {
    open(QuizKind::Picture, RevealMode::TextAndPicture, FiveAnswers);
    EXPECT_FALSE(isShown(panel, PanelIds::revealLabel(2)));
    answer(4002, "vert");
    EXPECT_TRUE(isShown(panel, PanelIds::revealLabel(2)));
    EXPECT_EQ(controlText(panel, PanelIds::revealLabel(2)), "C'est vert");
    EXPECT_EQ(shownSize(2), (FittedSize{260, 195})) << "the landscape reveal picture";
    answer(4002, "");
    EXPECT_FALSE(isShown(panel, PanelIds::revealLabel(2))) << "the label follows the answer";
    EXPECT_EQ(shownSize(2), (FittedSize{260, 195})) << "the picture does not";
}

TEST_F(PictureQuizTest, QuizWithoutPictureBoxesLoadsNoRevealPicture) {
    open(QuizKind::Text, RevealMode::Picture, FiveAnswers);
    const int decodes = handlesTaken(HandleKind::ComInitialisation);
    const int bitmaps = handlesTaken(HandleKind::GdiObject);
    answer(4001, "rouge");
    EXPECT_EQ(verdict(4001), "BRAVO");
    EXPECT_EQ(handlesTaken(HandleKind::ComInitialisation), decodes);
    EXPECT_EQ(handlesTaken(HandleKind::GdiObject), bitmaps);
}

}  // namespace
}  // namespace kelvo::testing
