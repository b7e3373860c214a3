// The header panel built by start-up: its controls, their places as the
// panel's width changes, their colours, the link and the "Sauver" button.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player_windows.h"
#include "question_panel/control_ids.h"
#include "resources/resource_ids.h"
#include "shell/header_ids.h"
#include "shell/header_layout.h"
#include "shell/shell_texts.h"
#include "shell/win32/application.h"
#include "shell/win32/header_panel.h"

namespace kelvo::testing {
namespace {

using HeaderPanel = PlayerWindows;

HWND control(int id) {
    return GetDlgItem(headerPanelWindow, id);
}

TEST_F(HeaderPanel, ShowsTheQuizAndItsOwnTexts) {
    using namespace HeaderIds;
    const struct {
        int id;
        const char* text;
    } rows[] = {
        {Link, "kelvo.example.org"}, {ByLabel, "Par :"}, {Author, "Createur kelvo"}, {SaveButton, "Sauver"},
        {Explanation, "Explications du kelvo"}, {Title, "Nom du kelvo"}, {CodeLabel, " Code :"},
        {ScoreLabel, " 0 / 7"},
        // Building the question panel has evaluated the empty answers: no code yet.
        {CodeBox, "      "}, {ScoreRule, ""}, {LeftRule, ""}, {RightRule, ""},
    };
    for (const auto& row : rows) EXPECT_EQ(windowText(control(row.id)), row.text) << "control " << row.id;
    EXPECT_EQ(theQuiz->headerPanel, headerPanelWindow);
    EXPECT_TRUE(IsWindowVisible(headerPanelWindow));
}

TEST_F(HeaderPanel, ControlsHaveTheirStylesAndFonts) {
    using namespace HeaderIds;
    auto font = [](int id) { return reinterpret_cast<HGDIOBJ>(SendMessageA(control(id), WM_GETFONT, 0, 0)); };
    EXPECT_EQ(font(Title), theQuiz->titleFont);
    EXPECT_EQ(font(ScoreLabel), theQuiz->scoreFont);
    for (int id : {ByLabel, Author, SaveButton, Explanation, CodeLabel, CodeBox})
        EXPECT_EQ(font(id), GetStockObject(DEFAULT_GUI_FONT)) << id;
    const auto codeBoxStyle = static_cast<DWORD>(GetWindowLongA(control(CodeBox), GWL_STYLE));
    EXPECT_EQ(codeBoxStyle & (ES_READONLY | WS_BORDER | WS_TABSTOP), static_cast<DWORD>(ES_READONLY));

    LOGFONTA link = {};
    GetObjectA(font(Link), sizeof link, &link);
    EXPECT_EQ(link.lfHeight, -13);
    EXPECT_TRUE(link.lfUnderline);
}

TEST_F(HeaderPanel, RightHandControlsFollowThePanelsWidth) {
    for (int width : {600, 324, 250}) {  // wide, no explanation left, narrower than the right-hand group
        SetWindowPos(headerPanelWindow, nullptr, 0, 0, width + 2, 49, SWP_NOMOVE | SWP_NOZORDER);
        pumpMessages();
        ASSERT_EQ(clientSize(headerPanelWindow).width, width);
        for (const HeaderLayout::Placement& placement : HeaderLayout::placements(width))
            EXPECT_EQ(placeInParent(control(placement.id)), placement.rect) << width << ", control " << placement.id;
        EXPECT_EQ(placeInParent(control(HeaderIds::ScoreLabel)), (Rect{10, 1, 80, 20})) << "the left side stays";
    }
}

struct ColourReply {
    HBRUSH brush;
    COLORREF textColour;
    int backgroundMode;
};

ColourReply colourFor(UINT message, HWND child) {
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, 0x123456);
    SetBkMode(dc, OPAQUE);
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(headerPanelWindow, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child)));
    ColourReply reply{brush, GetTextColor(dc), GetBkMode(dc)};
    DeleteDC(dc);
    return reply;
}

COLORREF brushColour(HBRUSH brush) {
    LOGBRUSH description = {};
    GetObjectA(brush, sizeof description, &description);
    return description.lbColor;
}

TEST_F(HeaderPanel, ColourReplies) {
    using namespace HeaderIds;
    const ColourReply panel = colourFor(WM_CTLCOLORDLG, headerPanelWindow);
    ASSERT_NE(panel.brush, nullptr);
    EXPECT_EQ(brushColour(panel.brush), 0xff8080u);

    const ColourReply link = colourFor(WM_CTLCOLORSTATIC, control(Link));
    EXPECT_EQ(link.brush, panel.brush) << "one brush, made once";
    EXPECT_EQ(link.textColour, 0xff3232u);
    EXPECT_EQ(link.backgroundMode, TRANSPARENT);

    for (int id : {ByLabel, Title, CodeBox}) {
        const ColourReply label = colourFor(WM_CTLCOLORSTATIC, control(id));
        EXPECT_EQ(label.brush, panel.brush) << id;
        EXPECT_EQ(label.textColour, 0x123456u) << id << ": the system's text colour stays";
        EXPECT_EQ(label.backgroundMode, TRANSPARENT) << id;
    }

    // The rules are left to the dialog manager's default colours.
    const ColourReply rule = colourFor(WM_CTLCOLORSTATIC, control(RightRule));
    EXPECT_NE(rule.brush, panel.brush);
    EXPECT_EQ(rule.backgroundMode, OPAQUE);
}

TEST_F(HeaderPanel, ALinkClickOpensTheMakersPageOnce) {
    std::vector<std::string> opened;
    replaceWebOpener(headerPanelWindow, [&](const char* address) { opened.push_back(address); });
    HWND link = control(HeaderIds::Link);
    for (UINT press : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}) {  // the second press of a double click opens nothing
        SendMessageA(link, press, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    EXPECT_EQ(opened, (std::vector<std::string>{"https://kelvo.example.org/"}));

    SendMessageA(control(HeaderIds::ByLabel), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageA(headerPanelWindow, WM_COMMAND, MAKEWPARAM(HeaderIds::Author, STN_CLICKED), 0);
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(HeaderPanel, TheHandShowsOverTheLinkOnly) {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(ResourceIds::LinkCursor));
    ASSERT_NE(hand, nullptr);
    HWND link = control(HeaderIds::Link);
    // Every other "Static" of the program keeps the arrow.
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(link, GCLP_HCURSOR)), arrow);

    SetCursor(arrow);
    SendMessageA(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), hand);

    HWND author = control(HeaderIds::Author);
    SendMessageA(author, WM_SETCURSOR, reinterpret_cast<WPARAM>(author), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), arrow);
}

TEST_F(HeaderPanel, SauverSavesTheAnswers) {
    const std::string saved = savedAnswersFileName();
    DeleteFileA(saved.c_str());
    SetDlgItemTextA(questionPanelWindow, PanelIds::FirstAnswerBox, "Lyon");
    SendMessageA(headerPanelWindow, WM_COMMAND, MAKEWPARAM(HeaderIds::SaveButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control(HeaderIds::SaveButton)));
    EXPECT_EQ(fileContent(saved).substr(0, 6), "Lyon\r\n");
    DeleteFileA(saved.c_str());
}

}  // namespace
}  // namespace kelvo::testing
