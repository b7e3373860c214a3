#include "support/player_fixture.h"

#include <new>

#include "checking/win32/answer_box.h"

namespace kelvo::testing {
namespace {

TEST_F(PlayerTest, EnterEvaluatesAndF2SavesBothKeepingTheFocusAndLeavingABoxEvaluatesIt) {
    open({QuizKind::Text, {"Paris", "x", "42"}}, "\r\nabcd\r\n");
    SetFocus(control(4001));
    type(4001, "  paris ");
    EXPECT_EQ(SendMessageA(control(4001), WM_CHAR, '\r', 0), 0);
    EXPECT_EQ(SendMessageA(control(4001), WM_CHAR, '\t', 0), 0);
    EXPECT_EQ(windowText(control(4001)), "  paris ");  // no CR or tab reached the box
    releaseKey(4001, VK_RETURN);
    EXPECT_EQ(verdict(4001), "BRAVO");
    EXPECT_EQ(score(), " 1 / 3");
    EXPECT_EQ(GetFocus(), control(4001));

    // Leaving a box evaluates it, and the next box selects its text.
    type(4001, "Pari");
    SetFocus(control(4002));
    EXPECT_EQ(verdict(4001), "Quasiment");
    DWORD start = 0, end = 0;
    SendMessageA(control(4002), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(std::pair(start, end), std::pair(DWORD{0}, DWORD{4}));

    type(4001, "Paris");
    type(4003, "42");
    SetFocus(control(4003));
    releaseKey(4003, VK_F2);
    EXPECT_EQ(fileContent(savedFile), "Paris\r\nabcd\r\n42\r\n");
    EXPECT_EQ(GetFocus(), control(4003));
}

TEST_F(PlayerTest, F1CopiesTheAnswerIntoEveryBoxNotYetRight) {
    const struct {
        const char* why;
        std::vector<std::string> answers;
        const char* saved;
        int boxId;
        const char* typed;  // null: what was saved
        std::vector<std::string> texts, verdicts;
    } rows[] = {
        {"right boxes keep theirs", {"un", "chats", "souris"}, "un\r\n\r\n\r\n", 4002, "chat",
         {"un", "chat", "chat"}, {"BRAVO", "Quasiment", "FAUX"}},
        {"a blank box erases nothing", {"un", "deux", "trois"}, "   \r\ndeu\r\ntroi\r\n", 4001, nullptr,
         {"   ", "deu", "troi"}, {"?", "Quasiment", "Quasiment"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        open({QuizKind::Text, row.answers}, row.saved);
        SetFocus(control(row.boxId));
        if (row.typed != nullptr) type(row.boxId, row.typed);
        releaseKey(row.boxId, VK_F1);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(windowText(control(4001 + i)), row.texts[i]) << i;
            EXPECT_EQ(verdict(4001 + i), row.verdicts[i]) << i;
        }
        EXPECT_EQ(GetFocus(), control(row.boxId));
        close();
    }
}

TEST_F(PlayerTest, TabKeepsTheFocusedBoxInViewAndPageKeysScrollThePanel) {
    open({QuizKind::Text, std::vector<std::string>(40, "x")});
    // The dialog navigation moves the focus on the press; the release
    // reaches the box that took it.
    for (int id : {4020, 4035, 4003}) {
        SetFocus(control(id));
        releaseKey(id, VK_TAB);
        const Rect place = placeInParent(control(id));
        EXPECT_TRUE(place.y >= 0 && place.y + place.height <= clientSize(panel).height) << id << " at " << place;
    }
    // A box already in view does not scroll the panel.
    int position = GetScrollPos(panel, SB_VERT);
    SetFocus(control(4004));
    releaseKey(4004, VK_TAB);
    EXPECT_EQ(GetScrollPos(panel, SB_VERT), position);
    // Page and arrow keys in a box scroll the panel by pages.
    SendMessageA(panel, WM_VSCROLL, SB_TOP, 0);
    SetFocus(control(4001));
    releaseKey(4001, VK_DOWN);
    EXPECT_GT(GetScrollPos(panel, SB_VERT), 0);
    releaseKey(4001, VK_PRIOR);
    EXPECT_EQ(GetScrollPos(panel, SB_VERT), 0);
}

// Every key's step fails: each failure ends in the box's procedure, which
// leaves the message to the edit control.
TEST(AnswerBox, AStepThatThrowsStaysInsideTheBox) {
    struct FailingHost : AnswerBoxHost {
        void evaluate(int) override { throw std::bad_alloc(); }
        int answerBoxCount() override { throw std::bad_alloc(); }
        void keepInView(HWND) override { throw std::bad_alloc(); }
        void saveAnswers() override { throw std::bad_alloc(); }
    } host;
    HWND box = CreateWindowExA(0, "EDIT", "Paris", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    installAnswerBoxProc(box, host);
    for (WPARAM key : {VK_RETURN, VK_TAB, VK_F1, VK_F2})
        EXPECT_NO_THROW(SendMessageA(box, WM_KEYUP, key, 0xC0000001)) << key;
    EXPECT_EQ(windowText(box), "Paris");
    DestroyWindow(box);
}

}  // namespace
}  // namespace kelvo::testing
