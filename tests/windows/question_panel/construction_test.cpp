#include "support/player_fixture.h"

#include "resources/control_ids.h"
#include "question_panel/win32/question_panel.h"
#include "shell/win32/application.h"

namespace kelvo::testing {
namespace {

// Label reads and header writes made while the panel is built (until start-up
// holds its window), counted by a hook on the messages sent in this thread.
struct BuildWork {
    int labelReads = 0;
    int headerWrites = 0;
};
BuildWork* countedWork = nullptr;

LRESULT CALLBACK countBuildWork(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && countedWork != nullptr && questionPanelWindow == nullptr) {
        const int id = GetDlgCtrlID(sent->hwnd);
        const bool label = id >= PanelIds::verdictLabel(PanelIds::FirstAnswerBox) && id < PanelIds::PlayButtonBase;
        if (sent->message == WM_GETTEXT && label) ++countedWork->labelReads;
        if (sent->message == WM_SETTEXT && GetParent(sent->hwnd) == headerPanelWindow) ++countedWork->headerWrites;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(PlayerTest, PanelPlacesItsBoxesAndJudgesTheSavedAnswersAtStart) {
    const struct {
        const char* why;
        TestQuiz quiz;
        const char* saved;
        std::vector<std::pair<int, Rect>> places;
        std::vector<const char*> verdicts;  // of boxes 4001 on
        int boxes;
        const char* score;
        const char* code;
        int scrollWidth, scrollHeight;  // content - 2
        const char* savedAgain;  // box by box, both answers of a question in turn
    } rows[] = {
        {"no questions", {QuizKind::Text, {}}, nullptr, {}, {}, 0, " 0 / 0", "", 18, 0, ""},
        {"one answer a row", {QuizKind::Text, numbered(12), RevealMode::None, {}, {"C-UN", "C-DEUX"}}, "r1\r\nR22\r\n",
         {{4001, {610, 5, 170, 20}}, {4012, {610, 280, 170, 20}}, {5012, {790, 280, 100, 20}}},
         {"BRAVO", "Quasiment", "?"}, 12, " 1 / 12", "C-UN", 898, 303, "r1\r\nR22\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n"},
        {"two answers a row", {QuizKind::Audio, {"A1", "A2", "A3"}, RevealMode::Text, {"B1", "B2", "B3"}},
         "A1\r\nb1\r\nA2\r\nB2\r\n", {{4003, {416, 5, 181, 20}}, {4004, {416, 24, 181, 20}}, {5004, {596, 24, 60, 20}}},
         {"BRAVO", "BRAVO", "BRAVO", "BRAVO", "?"}, 6, " 2 / 3", "", 968, 143, "A1\r\nb1\r\nA2\r\nB2\r\n\r\n\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        open(row.quiz, row.saved ? std::optional<std::string>(row.saved) : std::nullopt);
        for (const auto& [id, place] : row.places) EXPECT_EQ(placeInParent(GetDlgItem(panel, id)), place) << id;
        for (int i = 0; i < static_cast<int>(row.verdicts.size()); ++i) EXPECT_EQ(verdict(4001 + i), row.verdicts[i]) << i;
        EXPECT_EQ(GetDlgItem(panel, 4001 + row.boxes), nullptr);
        EXPECT_EQ(score(), row.score);
        EXPECT_EQ(code(), row.code);
        int minimum = 0, horizontal = 0, vertical = 0;
        GetScrollRange(panel, SB_HORZ, &minimum, &horizontal);
        GetScrollRange(panel, SB_VERT, &minimum, &vertical);
        EXPECT_EQ((std::vector<int>{horizontal, vertical}), (std::vector<int>{row.scrollWidth, row.scrollHeight}));
        SendMessageA(panel, WM_VSCROLL, SB_LINEDOWN, 0);
        EXPECT_EQ(GetScrollPos(panel, SB_VERT) > 0, row.boxes == 12);
        saveAnswers(panel);
        EXPECT_EQ(fileContent(savedFile), row.savedAgain);
        close();
    }
}

TEST_F(PlayerTest, BuildingCostsTheSameWorkPerBoxAtAnySize) {
    const struct {
        const char* why;
        int kind, answersPerQuestion, revealMode;
        bool savedRight;
    } rows[] = {
        {"a first start", QuizKind::Text, 1, RevealMode::None, false},
        {"every saved answer right", QuizKind::Text, 1, RevealMode::None, true},
        {"each evaluation may reveal all", QuizKind::Audio, 2, RevealMode::AllAtEnd, true},
        {"each question reveals its text and picture", QuizKind::Picture, 1, RevealMode::TextAndPicture, true},
    };
    for (const auto& row : rows) {
        std::vector<BuildWork> perBox;
        for (int questions : {24, 96}) {
            std::string saved;
            for (int n = 1; n <= questions; ++n) {
                saved += "A" + std::to_string(n) + "\r\n";
                if (row.answersPerQuestion == 2) saved += "B" + std::to_string(n) + "\r\n";
            }
            BuildWork work;
            countedWork = &work;
            HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, countBuildWork, nullptr, GetCurrentThreadId());
            open({row.kind, numbered(questions, "A"), row.revealMode,
                  row.answersPerQuestion == 2 ? numbered(questions, "B") : std::vector<std::string>{}},
                 row.savedRight ? std::optional<std::string>(saved) : std::nullopt);
            UnhookWindowsHookEx(hook);
            countedWork = nullptr;
            const int right = row.savedRight ? questions : 0;
            ASSERT_EQ(score(), " " + std::to_string(right) + " / " + std::to_string(questions)) << row.why;
            // Reveal labels are made before their boxes, so the evaluation of the
            // last pre-filled box can show its own label too.
            EXPECT_TRUE(row.revealMode == RevealMode::None || isShown(panel, PanelIds::revealLabel(questions)));
            std::printf("%s, %d questions: %d label reads, %d header writes\n", row.why, questions, work.labelReads,
                        work.headerWrites);
            const int boxes = questions * row.answersPerQuestion;
            perBox.push_back({work.labelReads / boxes, work.headerWrites / boxes});
            TearDown();
            SetUp();
        }
        EXPECT_EQ(perBox[0].labelReads, perBox[1].labelReads) << row.why;
        EXPECT_EQ(perBox[0].headerWrites, perBox[1].headerWrites) << row.why;
    }
}

// Which verdict takes which brush is pinned natively; here the panel hands them out.
TEST_F(PlayerTest, LabelsAreColouredByTheirTextAndTheQuiz) {
    open({QuizKind::Text, {"CHIEN", "CHIEN"}}, "chien\r\n\r\n");
    const auto brushOf = [&](int label) { return colourReply(panel, WM_CTLCOLORSTATIC, control(label)).brush; };
    EXPECT_EQ(brushOf(5001), theQuiz->rightBrush);
    for (HGDIOBJ quizBrush : {theQuiz->rightBrush, theQuiz->wrongBrush, theQuiz->anagramBrush, theQuiz->closeBrush,
                              theQuiz->backBrush})
        EXPECT_NE(brushOf(5002), quizBrush) << "\"?\" keeps the dialog's default colours";
    // Number labels lie on the quiz colour: dark text (default colour), no background.
    const ColourReply number = colourReply(panel, WM_CTLCOLORSTATIC, control(PanelIds::NumberLabel));
    EXPECT_EQ(std::tuple(number.brush, number.text, number.backgroundMode),
              std::tuple(theQuiz->backBrush, COLORREF{0}, TRANSPARENT));
    EXPECT_EQ(colourReply(panel, WM_CTLCOLORDLG, panel).brush, theQuiz->backBrush);
}

}  // namespace
}  // namespace kelvo::testing
