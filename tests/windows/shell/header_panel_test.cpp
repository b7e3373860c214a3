#include "support/player_fixture.h"
#include "resources/resource_ids.h"
#include "resources/header_ids.h"
#include "shell/win32/application.h"
#include "shell/win32/header_panel.h"

namespace kelvo::testing {
namespace {

using namespace HeaderIds;
using HeaderPanel = DemonstrationQuizTest;

HWND header(int id) {
    return GetDlgItem(headerPanelWindow, id);
}

HGDIOBJ fontOf(HWND window) {
    return reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0));
}

// Each control where it is created (a panel never sized) and once the panel
// is 600 pixels wide, the least the player shows.
TEST_F(HeaderPanel, ControlsTextsStylesFontsColoursAndPlaces) {
    LOGFONTA link = {};
    GetObjectA(fontOf(header(Link)), sizeof link, &link);
    EXPECT_EQ(link.lfHeight, -13);
    EXPECT_TRUE(link.lfUnderline);
    const HBRUSH panel = colourReply(headerPanelWindow, WM_CTLCOLORDLG, headerPanelWindow).brush;
    LOGBRUSH panelColour = {};
    ASSERT_NE(GetObjectA(panel, sizeof panelColour, &panelColour), 0);
    EXPECT_EQ(panelColour.lbColor, 0xff8080u);

    const HGDIOBJ gui = GetStockObject(DEFAULT_GUI_FONT), none = nullptr;
    const COLORREF dialogText = GetSysColor(COLOR_WINDOWTEXT);
    const struct {
        int id;
        const char* text;
        DWORD style;
        HGDIOBJ font;
        bool onPanel;  // the panel's one brush, transparent text
        COLORREF textColour;
        Rect created, at600;
    } rows[] = {
        {Link, "kelvo.example.org", 0x50000100, fontOf(header(Link)), true, 0xff3232, {736, 5, 115, 18}, {466, 0, 115, 18}},
        {ByLabel, "Par :", 0x50000000, gui, true, SystemText, {736, 25, 27, 18}, {466, 25, 26, 18}},
        {Author, "Createur kelvo", 0x50000000, gui, true, SystemText, {763, 25, 85, 18}, {493, 25, 105, 18}},
        {SaveButton, "Sauver", 0x50000000, gui, true, SystemText, {666, 25, 55, 18}, {396, 25, 55, 18}},
        {Explanation, "Explications du kelvo", 0x50000000, gui, true, SystemText, {110, 19, 490, 27}, {110, 19, 276, 28}},
        {Title, "Nom du kelvo", 0x50000000, theQuiz->titleFont, true, SystemText, {110, 3, 260, 18}, {110, 3, 260, 18}},
        {CodeLabel, " Code :", 0x50000000, gui, true, SystemText, {7, 29, 36, 15}, {7, 29, 36, 15}},
        {ScoreLabel, " 0 / 7", 0x50000001, theQuiz->scoreFont, true, SystemText, {10, 1, 80, 20}, {10, 1, 80, 20}},
        // Building the question panel has evaluated the empty answers: no code yet.
        {CodeBox, "      ", 0x50000800, gui, true, SystemText, {44, 29, 53, 16}, {44, 29, 53, 16}},
        // The rules are left to the dialog manager's colours.
        {ScoreRule, "", 0x50800000, none, false, dialogText, {0, 26, 100, 1}, {0, 26, 100, 1}},
        {LeftRule, "", 0x50800000, none, false, dialogText, {100, 0, 1, 50}, {100, 0, 1, 50}},
        {RightRule, "", 0x50800000, none, false, dialogText, {730, 0, 1, 50}, {455, 0, 1, 50}},
    };
    HWND fresh = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(ResourceIds::HeaderPanelDialog),
                                    mainWindow, headerPanelProc, 0);
    ASSERT_NE(fresh, nullptr);
    SetWindowPos(headerPanelWindow, nullptr, 0, 0, 600 + 2, 49, SWP_NOMOVE | SWP_NOZORDER);  // a one-pixel border
    std::vector<int> notRepainted;  // a moved control that does not repaint stays erased by the panel's background
    for (const auto& row : rows)
        if (!(row.created == row.at600) && !GetUpdateRect(header(row.id), nullptr, FALSE)) notRepainted.push_back(row.id);
    EXPECT_EQ(notRepainted, std::vector<int>{});
    pumpMessages();
    for (const auto& row : rows) {
        HWND shown = header(row.id);
        EXPECT_EQ(windowText(shown), row.text) << row.id;
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(shown, GWL_STYLE)), row.style) << row.id;
        EXPECT_EQ(fontOf(shown), row.font) << row.id;
        const ColourReply colours = colourReply(headerPanelWindow, WM_CTLCOLORSTATIC, shown);
        EXPECT_EQ(colours.brush == panel, row.onPanel) << row.id;
        EXPECT_EQ(colours.backgroundMode, row.onPanel ? TRANSPARENT : OPAQUE) << row.id;
        EXPECT_EQ(colours.text, row.textColour) << row.id;
        EXPECT_EQ(placeInParent(GetDlgItem(fresh, row.id)), row.created) << row.id;
        EXPECT_EQ(placeInParent(shown), row.at600) << row.id;
    }
    DestroyWindow(fresh);
    EXPECT_EQ(theQuiz->headerPanel, headerPanelWindow);
    EXPECT_TRUE(IsWindowVisible(headerPanelWindow));
}

TEST_F(HeaderPanel, TheLinkAloneShowsTheHandAndOpensTheMakersPageOnce) {
    std::vector<std::string> opened;
    replaceWebOpener(headerPanelWindow, [&](const char* address) { opened.push_back(address); });
    for (UINT press : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}) {  // the second press of a double click opens nothing
        SendMessageA(header(Link), press, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(header(Link), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    SendMessageA(header(ByLabel), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageA(headerPanelWindow, WM_COMMAND, MAKEWPARAM(Author, STN_CLICKED), 0);
    EXPECT_EQ(opened, (std::vector<std::string>{"https://kelvo.example.org/"}));

    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(ResourceIds::LinkCursor));
    // Every other "Static" of the program keeps the arrow.
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(header(Link), GCLP_HCURSOR)), arrow);
    for (int id : {Link, Author}) {
        SetCursor(arrow);
        SendMessageA(header(id), WM_SETCURSOR, reinterpret_cast<WPARAM>(header(id)), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), id == Link ? hand : arrow) << id;
    }
}

}  // namespace
}  // namespace kelvo::testing
