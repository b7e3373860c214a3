#include "panel_fixture.h"

#include "resources/control_ids.h"
#include "question_panel/win32/question_panel.h"
#include "shell/win32/application.h"

namespace kelvo::testing {
namespace {

std::vector<std::string> answers(int count, const std::string& stem = "R") {
    std::vector<std::string> list;
    for (int i = 1; i <= count; ++i) list.push_back(stem + std::to_string(i));
    return list;
}

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

SCROLLINFO scrollInfo(HWND window, int bar) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(window, bar, &info);
    return info;
}

TEST_F(PanelTest, TextQuizOfTwelveQuestionsJudgesItsSavedAnswersAtStart) {
    open({QuizKind::Text, 1, RevealMode::None, answers(12), {}, {"C-UN", "C-DEUX"}}, "r1\r\nR22\r\n");
    EXPECT_EQ(placeInParent(box(4001)), (Rect{610, 5, 170, 20}));
    EXPECT_EQ(placeInParent(box(4012)), (Rect{610, 280, 170, 20}));
    EXPECT_EQ(placeInParent(GetDlgItem(panel, 5012)), (Rect{790, 280, 100, 20}));
    EXPECT_EQ(verdict(4001), "BRAVO");
    EXPECT_EQ(verdict(4002), "Quasiment");
    EXPECT_EQ(verdict(4007), "?");
    EXPECT_EQ(GetDlgItem(panel, 4013), nullptr);
    // Content of 900 x 305: the bars reach content - 2.
    EXPECT_EQ(scrollInfo(panel, SB_HORZ).nMax, 898);
    EXPECT_EQ(scrollInfo(panel, SB_VERT).nMax, 303);
    EXPECT_EQ(score(), " 1 / 12");
    EXPECT_EQ(code(), "C-UN");
}

TEST_F(PanelTest, TwoAnswerGridPairsItsBoxes) {
    QuizPlan planned{QuizKind::Audio, 2, RevealMode::Text, {"A1", "A2", "A3"}, {"B1", "B2", "B3"}};
    open(planned, "A1\r\nb1\r\nA2\r\nB2\r\n");
    EXPECT_EQ(placeInParent(box(4003)), (Rect{416, 5, 181, 20}));
    EXPECT_EQ(placeInParent(box(4004)), (Rect{416, 24, 181, 20}));
    EXPECT_EQ(placeInParent(GetDlgItem(panel, 5004)), (Rect{596, 24, 60, 20}));
    for (int id = 4001; id <= 4004; ++id) EXPECT_EQ(verdict(id), "BRAVO") << id;  // 4002 typed in lower case
    EXPECT_EQ(score(), " 2 / 3");
    EXPECT_TRUE(isShown(panel, 8002));
    EXPECT_FALSE(isShown(panel, 8003));
    EXPECT_EQ(controlText(panel, 8002), "Bien vu 2");
    saveAnswers(panel);  // box by box, both answers of a question in turn
    EXPECT_EQ(fileContent(savedFile), "A1\r\nb1\r\nA2\r\nB2\r\n\r\n\r\n");
}

TEST_F(PanelTest, RevealLabelsOfTheLastQuestionShowWhenAllSavedAnswersAreRight) {
    // Reveal labels are made before their boxes, so the evaluation of the
    // last pre-filled box can show every label, its own included.
    open({QuizKind::Audio, 1, RevealMode::AllAtEnd, {"un", "deux", "trois", "quatre"}},
         "un\r\ndeux\r\ntrois\r\nquatre\r\n");
    for (int id = 8001; id <= 8004; ++id) EXPECT_TRUE(isShown(panel, id)) << id;
    EXPECT_EQ(score(), " 4 / 4");
}

TEST_F(PanelTest, BuildingCostsTheSameWorkPerBoxAtAnySize) {
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
            open({row.kind, row.answersPerQuestion, row.revealMode, answers(questions, "A"), answers(questions, "B")},
                 row.savedRight ? std::optional<std::string>(saved) : std::nullopt);
            UnhookWindowsHookEx(hook);
            countedWork = nullptr;
            const int right = row.savedRight ? questions : 0;
            ASSERT_EQ(score(), " " + std::to_string(right) + " / " + std::to_string(questions)) << row.why;
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

TEST_F(PanelTest, NoQuestionsBuildsNothingToScroll) {
    open({QuizKind::Text, 1, RevealMode::None, {}});
    EXPECT_EQ(GetDlgItem(panel, 4001), nullptr);
    EXPECT_EQ(score(), " 0 / 0");
    SendMessageA(panel, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(GetScrollPos(panel, SB_VERT), 0);
}

TEST_F(PanelTest, LabelsAreColouredByTheirTextAndTheQuiz) {
    open({QuizKind::Text, 1, RevealMode::None, {"CHIEN", "CHIEN", "CHIEN", "CHIEN", "CHIEN"}},
         "chien\r\nchat\r\nchine\r\nchiex\r\n\r\n");
    struct Case {
        int label;
        const char* verdict;
        HGDIOBJ brush;
    } cases[] = {
        {5001, "BRAVO", theQuiz->rightBrush},
        {5002, "FAUX", theQuiz->wrongBrush},
        {5003, "Anagramme", theQuiz->anagramBrush},
        {5004, "Quasiment", theQuiz->closeBrush},
        {5005, "?", nullptr},
    };
    HDC dc = GetDC(panel);
    auto colourOf = [&](int label) {
        return reinterpret_cast<HGDIOBJ>(SendMessageA(panel, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                      reinterpret_cast<LPARAM>(GetDlgItem(panel, label))));
    };
    for (const auto& test : cases) {
        EXPECT_EQ(controlText(panel, test.label), test.verdict);
        HGDIOBJ brush = colourOf(test.label);
        if (test.brush != nullptr) {
            EXPECT_EQ(brush, test.brush) << test.verdict;
        } else {  // the dialog's default colours, none of the quiz's brushes
            for (HGDIOBJ quizBrush : {theQuiz->rightBrush, theQuiz->wrongBrush, theQuiz->anagramBrush,
                                      theQuiz->closeBrush, theQuiz->backBrush})
                EXPECT_NE(brush, quizBrush) << test.verdict;
        }
    }
    // Number labels lie on the quiz colour: dark text (default colour), no background.
    SetTextColor(dc, 0x123456);
    EXPECT_EQ(colourOf(PanelIds::NumberLabel), theQuiz->backBrush);
    EXPECT_EQ(GetTextColor(dc), 0x000000u);
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(panel, WM_CTLCOLORDLG, 0, 0)), theQuiz->backBrush);
    ReleaseDC(panel, dc);
}

}  // namespace
}  // namespace kelvo::testing
