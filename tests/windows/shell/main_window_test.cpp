// The main window as the player opens it: caption, size, place, layout,
// colours, wheel forwarding and closing.
#include <windows.h>

#include <gtest/gtest.h>

#include "player_windows.h"
#include "question_panel/control_ids.h"
#include "shell/main_window_layout.h"
#include "shell/shell_texts.h"
#include "shell/win32/application.h"

namespace kelvo::testing {
namespace {

constexpr int VersionLabel = MainWindowGeometry::VersionLabelId;

using MainWindow = PlayerWindows;

void expectLayout(HWND mainWindow) {
    const Rect client = clientSize(mainWindow);
    const int w = client.width;
    const int h = client.height;
    EXPECT_EQ(placeInParent(questionPanelWindow), (Rect{5, 50, w - 11, h - 68}));
    EXPECT_EQ(placeInParent(headerPanelWindow), (Rect{5, 2, w - 11, 49}));
    EXPECT_EQ(placeInParent(GetDlgItem(mainWindow, VersionLabel)), (Rect{w - 145, h - 16, 140, 15}));
}

TEST_F(MainWindow, OpensTitledCentredAt544By375WithTheVersionLabel) {
    EXPECT_EQ(windowText(mainWindow), "Nom du kelvo");
    EXPECT_TRUE(loaderMessages.messages.empty());
    RECT own;
    RECT desktop;
    GetWindowRect(mainWindow, &own);
    GetWindowRect(GetDesktopWindow(), &desktop);
    EXPECT_EQ(own.right - own.left, 544);
    EXPECT_EQ(own.bottom - own.top, 375);
    EXPECT_EQ(own.left, desktop.left + ((desktop.right - desktop.left) - 544) / 2);
    EXPECT_EQ(own.top, desktop.top + ((desktop.bottom - desktop.top) - 375) / 2);
    EXPECT_TRUE(IsWindowVisible(mainWindow) && !IsIconic(mainWindow));
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(mainWindow, WM_GETICON, ICON_BIG, 0)),
              LoadIconA(nullptr, IDI_QUESTION));

    HWND label = GetDlgItem(mainWindow, VersionLabel);
    EXPECT_EQ(windowText(label), "R\xE9" "alis\xE9" " avec la version 2.1.3  ");
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));
    expectLayout(mainWindow);
}

TEST_F(MainWindow, LayoutFollowsResizingAndSurvivesMinimising) {
    SetWindowPos(mainWindow, nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
    pumpMessages();
    EXPECT_EQ(clientSize(headerPanelWindow).width + 2, clientSize(mainWindow).width - 11);  // border of one pixel
    expectLayout(mainWindow);
    const Rect questionPanelBefore = placeInParent(questionPanelWindow);

    ShowWindow(mainWindow, SW_MINIMIZE);
    pumpMessages();
    ASSERT_TRUE(IsIconic(mainWindow));
    EXPECT_EQ(placeInParent(questionPanelWindow), questionPanelBefore) << "minimising moves nothing";

    ShowWindow(mainWindow, SW_RESTORE);
    ASSERT_TRUE(pumpUntil([&] { return !IsIconic(mainWindow) && clientSize(mainWindow).width > 0; }));
    EXPECT_EQ(placeInParent(questionPanelWindow), questionPanelBefore);
    expectLayout(mainWindow);
}

TEST_F(MainWindow, ColoursOnlyTheVersionLabel) {
    HDC dc = CreateCompatibleDC(nullptr);
    auto reply = [&](HWND child) {
        return SendMessageA(mainWindow, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child));
    };
    EXPECT_EQ(reply(GetDlgItem(mainWindow, VersionLabel)), reinterpret_cast<LRESULT>(backgroundBrush));
    LOGBRUSH description = {};
    GetObjectA(backgroundBrush, sizeof description, &description);
    EXPECT_EQ(description.lbColor, 0xc8d0d4u);
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    SetBkMode(dc, OPAQUE);
    EXPECT_EQ(reply(headerPanelWindow), 0);
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    DeleteDC(dc);
}

// The requests posted to the question panel, taken off the queue.
std::vector<WPARAM> takeScrollRequests() {
    std::vector<WPARAM> requests;
    MSG message;
    while (PeekMessageA(&message, questionPanelWindow, WM_VSCROLL, WM_VSCROLL, PM_REMOVE)) {
        EXPECT_EQ(message.lParam, 0);
        requests.push_back(message.wParam);
    }
    return requests;
}

TEST_F(MainWindow, OneWheelNotchPostsOneScrollStep) {
    const struct {
        short distance;
        std::vector<WPARAM> requests;
    } cases[] = {{120, {PanelIds::ScrollUp50}}, {-120, {PanelIds::ScrollDown50}}, {240, {}}, {-60, {}}};
    for (const auto& c : cases) {
        takeScrollRequests();
        // Sent, yet the request arrives later: it is posted.
        SendMessageA(mainWindow, WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(c.distance)), MAKELPARAM(10, 10));
        EXPECT_EQ(takeScrollRequests(), c.requests) << c.distance;
    }
}

TEST_F(MainWindow, ANotchOverTheQuestionPanelScrollsTwice) {
    takeScrollRequests();
    SendMessageA(questionPanelWindow, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(takeScrollRequests(), (std::vector<WPARAM>{PanelIds::ScrollDown50, PanelIds::ScrollDown50}));
}

TEST_F(MainWindow, ClosingSavesRemovesTheClipAndEndsTheLoopWithZero) {
    const std::string saved = savedAnswersFileName();
    DeleteFileA(saved.c_str());
    HANDLE clip = CreateFileA(ShellTexts::LeftoverClip, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(clip, INVALID_HANDLE_VALUE);
    CloseHandle(clip);
    SetDlgItemTextA(questionPanelWindow, PanelIds::FirstAnswerBox, "Paris");

    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(runMessageLoop(), 0);

    EXPECT_FALSE(fileExists(ShellTexts::LeftoverClip));
    EXPECT_EQ(fileContent(saved).substr(0, 7), "Paris\r\n");
    EXPECT_TRUE(IsWindow(mainWindow)) << "closing leaves the window to shutdown";
    DeleteFileA(saved.c_str());
}

TEST_F(MainWindow, ClosingWithoutAClipIsNoError) {
    DeleteFileA(ShellTexts::LeftoverClip);
    SendMessageA(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_TRUE(takeQuitMessage());
    DeleteFileA(savedAnswersFileName().c_str());
}

}  // namespace
}  // namespace kelvo::testing
