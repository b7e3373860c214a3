#include "support/player_fixture.h"

namespace kelvo::testing {
namespace {

bool insideClient(HWND panel, HWND control) {
    Rect place = placeInParent(control);
    RECT client;
    GetClientRect(panel, &client);
    return place.y >= 0 && place.y + place.height <= client.bottom;
}

TEST_F(PlayerTest, EnterEvaluatesAndF2SavesBothKeepingTheFocus) {
    open({QuizKind::Text, {"Paris", "x", "42"}});
    SetFocus(control(4001));
    type(4001, "  paris ");
    EXPECT_EQ(SendMessageA(control(4001), WM_CHAR, '\r', 0), 0);
    EXPECT_EQ(SendMessageA(control(4001), WM_CHAR, '\t', 0), 0);
    EXPECT_EQ(windowText(control(4001)), "  paris ");  // no CR or tab reached the box
    releaseKey(4001, VK_RETURN);
    EXPECT_EQ(verdict(4001), "BRAVO");
    EXPECT_EQ(score(), " 1 / 3");
    EXPECT_EQ(GetFocus(), control(4001));

    type(4001, "Paris");
    type(4003, "42");
    SetFocus(control(4003));
    releaseKey(4003, VK_F2);
    EXPECT_EQ(fileContent(savedFile), "Paris\r\n\r\n42\r\n");
    EXPECT_EQ(GetFocus(), control(4003));
}

TEST_F(PlayerTest, LeavingABoxEvaluatesItAndTheNextSelectsItsText) {
    open({QuizKind::Text, {"Paris", "Rome"}}, "\r\nRome\r\n");
    SetFocus(control(4001));
    type(4001, "Pari");
    SetFocus(control(4002));
    EXPECT_EQ(verdict(4001), "Quasiment");
    DWORD start = 0, end = 0;
    SendMessageA(control(4002), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 4u);
}

TEST_F(PlayerTest, F1CopiesTheAnswerIntoEveryBoxNotYetRight) {
    open({QuizKind::Text, {"un", "chats", "souris"}}, "un\r\n\r\n\r\n");
    ASSERT_EQ(verdict(4001), "BRAVO");
    SetFocus(control(4002));
    type(4002, "chat");
    releaseKey(4002, VK_F1);
    EXPECT_EQ(windowText(control(4001)), "un");
    EXPECT_EQ(windowText(control(4003)), "chat");
    EXPECT_EQ(verdict(4002), "Quasiment");
    EXPECT_EQ(verdict(4003), "FAUX");
    EXPECT_EQ(GetFocus(), control(4002));
}

TEST_F(PlayerTest, F1InABlankBoxErasesNothing) {
    open({QuizKind::Text, {"un", "deux", "trois"}}, "   \r\ndeu\r\ntroi\r\n");
    SetFocus(control(4001));
    releaseKey(4001, VK_F1);
    EXPECT_EQ(windowText(control(4002)), "deu");
    EXPECT_EQ(windowText(control(4003)), "troi");
    EXPECT_EQ(verdict(4002), "Quasiment");
}

TEST_F(PlayerTest, TabKeepsTheFocusedBoxInViewWhereverThePanelIs) {
    open({QuizKind::Text, std::vector<std::string>(40, "x")});
    // The dialog navigation moves the focus on the press; the release
    // reaches the box that took it.
    for (int id : {4020, 4035, 4003}) {
        SetFocus(control(id));
        releaseKey(id, VK_TAB);
        EXPECT_TRUE(insideClient(panel, control(id))) << id << " at " << placeInParent(control(id));
    }
    // A box already in view does not scroll the panel.
    int position = GetScrollPos(panel, SB_VERT);
    SetFocus(control(4004));
    releaseKey(4004, VK_TAB);
    EXPECT_EQ(GetScrollPos(panel, SB_VERT), position);
}

TEST_F(PlayerTest, PageKeysInABoxScrollThePanel) {
    open({QuizKind::Text, std::vector<std::string>(40, "x")});
    SetFocus(control(4001));
    releaseKey(4001, VK_NEXT);
    int afterPageDown = GetScrollPos(panel, SB_VERT);
    EXPECT_GT(afterPageDown, 0);
    releaseKey(4001, VK_DOWN);
    EXPECT_GT(GetScrollPos(panel, SB_VERT), afterPageDown);
    releaseKey(4001, VK_PRIOR);
    releaseKey(4001, VK_UP);
    EXPECT_EQ(GetScrollPos(panel, SB_VERT), 0);
}

}  // namespace
}  // namespace kelvo::testing
