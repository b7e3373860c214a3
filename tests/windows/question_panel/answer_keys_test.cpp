#include "panel_fixture.h"

#include <new>

#include "checking/win32/answer_box.h"

namespace kelvo::testing {
namespace {

bool insideClient(HWND panel, HWND control) {
    Rect place = placeInParent(control);
    RECT client;
    GetClientRect(panel, &client);
    return place.y >= 0 && place.y + place.height <= client.bottom;
}

TEST_F(PanelTest, EnterEvaluatesAndF2SavesBothKeepingTheFocus) {
    open({QuizKind::Text, 1, RevealMode::None, {"Paris", "x", "42"}});
    SetFocus(box(4001));
    type(4001, "  paris ");
    EXPECT_EQ(SendMessageA(box(4001), WM_CHAR, '\r', 0), 0);
    EXPECT_EQ(SendMessageA(box(4001), WM_CHAR, '\t', 0), 0);
    EXPECT_EQ(windowText(box(4001)), "  paris ");  // no CR or tab reached the box
    releaseKey(4001, VK_RETURN);
    EXPECT_EQ(verdict(4001), "BRAVO");
    EXPECT_EQ(score(), " 1 / 3");
    EXPECT_EQ(GetFocus(), box(4001));

    type(4001, "Paris");
    type(4003, "42");
    SetFocus(box(4003));
    releaseKey(4003, VK_F2);
    EXPECT_EQ(fileContent(savedFile), "Paris\r\n\r\n42\r\n");
    EXPECT_EQ(GetFocus(), box(4003));
}

TEST_F(PanelTest, LeavingABoxEvaluatesItAndTheNextSelectsItsText) {
    open({QuizKind::Text, 1, RevealMode::None, {"Paris", "Rome"}}, "\r\nRome\r\n");
    SetFocus(box(4001));
    type(4001, "Pari");
    SetFocus(box(4002));
    EXPECT_EQ(verdict(4001), "Quasiment");
    DWORD start = 0, end = 0;
    SendMessageA(box(4002), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 4u);
}

TEST_F(PanelTest, F1CopiesTheAnswerIntoEveryBoxNotYetRight) {
    open({QuizKind::Text, 1, RevealMode::None, {"un", "chats", "souris"}}, "un\r\n\r\n\r\n");
    ASSERT_EQ(verdict(4001), "BRAVO");
    SetFocus(box(4002));
    type(4002, "chat");
    releaseKey(4002, VK_F1);
    EXPECT_EQ(windowText(box(4001)), "un");
    EXPECT_EQ(windowText(box(4003)), "chat");
    EXPECT_EQ(verdict(4002), "Quasiment");
    EXPECT_EQ(verdict(4003), "FAUX");
    EXPECT_EQ(GetFocus(), box(4002));
}

TEST_F(PanelTest, F1InABlankBoxErasesNothing) {
    open({QuizKind::Text, 1, RevealMode::None, {"un", "deux", "trois"}}, "   \r\ndeu\r\ntroi\r\n");
    SetFocus(box(4001));
    releaseKey(4001, VK_F1);
    EXPECT_EQ(windowText(box(4002)), "deu");
    EXPECT_EQ(windowText(box(4003)), "troi");
    EXPECT_EQ(verdict(4002), "Quasiment");
}

TEST_F(PanelTest, TabKeepsTheFocusedBoxInViewWhereverThePanelIs) {
    open({QuizKind::Text, 1, RevealMode::None, std::vector<std::string>(40, "x")});
    // The dialog navigation moves the focus on the press; the release
    // reaches the box that took it.
    for (int id : {4020, 4035, 4003}) {
        SetFocus(box(id));
        releaseKey(id, VK_TAB);
        EXPECT_TRUE(insideClient(panel, box(id))) << id << " at " << placeInParent(box(id));
    }
    // A box already in view does not scroll the panel.
    int position = GetScrollPos(panel, SB_VERT);
    SetFocus(box(4004));
    releaseKey(4004, VK_TAB);
    EXPECT_EQ(GetScrollPos(panel, SB_VERT), position);
}

TEST_F(PanelTest, PageKeysInABoxScrollThePanel) {
    open({QuizKind::Text, 1, RevealMode::None, std::vector<std::string>(40, "x")});
    SetFocus(box(4001));
    releaseKey(4001, VK_NEXT);
    int afterPageDown = GetScrollPos(panel, SB_VERT);
    EXPECT_GT(afterPageDown, 0);
    releaseKey(4001, VK_DOWN);
    EXPECT_GT(GetScrollPos(panel, SB_VERT), afterPageDown);
    releaseKey(4001, VK_PRIOR);
    releaseKey(4001, VK_UP);
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
