#include "support/player_fixture.h"

#include "resources/control_ids.h"
#include "question_panel/win32/panel_scrolling.h"
#include "question_panel/win32/panel_state.h"

namespace kelvo::testing {
namespace {

// A panel 500 pixels high over content 1000 pixels high.
class ScrollTest : public PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        open({QuizKind::Text, std::vector<std::string>(45, "x")});
        RECT outer, client;
        GetWindowRect(panel, &outer);
        GetClientRect(panel, &client);
        int extra = (outer.bottom - outer.top) - client.bottom;
        SetWindowPos(panel, nullptr, 0, 0, outer.right - outer.left, 500 + extra, SWP_NOMOVE | SWP_NOZORDER);
        panelState(panel)->contentHeight = 1000;
        setScrollRanges(panel);
    }
    int position() const { return GetScrollPos(panel, SB_VERT); }
    int firstBoxTop() const { return placeInParent(control(4001)).y; }
    void request(int code) { SendMessageA(panel, WM_VSCROLL, static_cast<WPARAM>(code), 0); }
};

TEST_F(ScrollTest, RequestsStopAtContentMinusVisibleLinesMoveByStepAndEnlargingKeepsTheRowsAligned) {
    request(SB_LINEDOWN);
    EXPECT_EQ(position(), 310);
    EXPECT_EQ(firstBoxTop(), 5 - 310);
    SetScrollPos(panel, SB_VERT, 480, FALSE);
    ScrollWindow(panel, 0, 310 - 480, nullptr, nullptr);
    request(PanelIds::ScrollDown50);
    EXPECT_EQ(position(), 500);
    EXPECT_EQ(firstBoxTop(), 5 - 500);  // moved up by 20
    request(SB_BOTTOM);
    EXPECT_EQ(position(), 500);
    RECT outer;  // 100 pixels taller at the bottom
    GetWindowRect(panel, &outer);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top + 100;
    SetWindowPos(panel, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(position(), 400);
    EXPECT_EQ(firstBoxTop(), 5 - 400);
    request(SB_TOP);
    EXPECT_EQ(firstBoxTop(), 5);

    // Narrowed so that it scrolls sideways; lines move one pixel.
    SetWindowPos(panel, nullptr, 0, 0, 400, height, SWP_NOMOVE | SWP_NOZORDER);
    SendMessageA(panel, WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(GetScrollPos(panel, SB_HORZ), 1);
    EXPECT_EQ(placeInParent(control(4001)).x, 609);
}

}  // namespace
}  // namespace kelvo::testing
