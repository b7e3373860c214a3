#include "support/player_fixture.h"
#include "quiz/win32/executable_resources.h"
#include "resources/control_ids.h"
#include "shell/main_window_layout.h"
#include "shell/shell_texts.h"
#include "shell/win32/main_window.h"

namespace kelvo::testing {
namespace {

constexpr int VersionLabel = MainWindowGeometry::VersionLabelId;

using MainWindow = DemonstrationQuizTest;

TEST_F(MainWindow, OpensTitledCentredAt544By375WithItsClassIconsAndColouredVersionLabel) {
    EXPECT_EQ(windowText(mainWindow), "Nom du kelvo");
    EXPECT_TRUE(loaderMessages.messages.empty());
    RECT own, desktop;
    GetWindowRect(mainWindow, &own);
    GetWindowRect(GetDesktopWindow(), &desktop);
    EXPECT_EQ(own.right - own.left, 544);
    EXPECT_EQ(own.bottom - own.top, 375);
    // The centring arithmetic is pinned in the native tests; the desktop is whatever display this runs on.
    EXPECT_EQ((Point{own.left, own.top}),
              MainWindowGeometry::centredOrigin({desktop.left, desktop.top, desktop.right, desktop.bottom},
                                                {own.left, own.top, own.right, own.bottom}));
    EXPECT_TRUE(IsWindowVisible(mainWindow) && !IsIconic(mainWindow));
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(mainWindow, WM_GETICON, ICON_BIG, 0)),
              LoadIconA(nullptr, IDI_QUESTION));

    WNDCLASSEXA found = {};
    found.cbSize = sizeof found;
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), ShellTexts::MainWindowClass, &found));
    EXPECT_EQ(found.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(found.lpfnWndProc, &mainWindowProc);
    EXPECT_EQ(found.cbClsExtra + found.cbWndExtra, 0);
    EXPECT_EQ(found.hIcon, LoadIconA(nullptr, IDI_APPLICATION));
    EXPECT_EQ(found.hIconSm, LoadIconA(nullptr, IDI_APPLICATION));
    EXPECT_EQ(found.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(found.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_SCROLLBAR + 1));
    EXPECT_EQ(found.lpszMenuName, nullptr);

    HWND label = GetDlgItem(mainWindow, VersionLabel);
    EXPECT_EQ(windowText(label), "R\xE9" "alis\xE9" " avec la version 2.1.3  ");
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));
    // Only the version label is coloured, on the background brush.
    const ColourReply onLabel = colourReply(mainWindow, WM_CTLCOLORSTATIC, label);
    EXPECT_EQ(onLabel.brush, backgroundBrush.get());
    EXPECT_EQ(onLabel.backgroundMode, TRANSPARENT);
    LOGBRUSH description = {};
    GetObjectA(backgroundBrush.get(), sizeof description, &description);
    EXPECT_EQ(description.lbColor, 0xc8d0d4u);
    const ColourReply elsewhere = colourReply(mainWindow, WM_CTLCOLORSTATIC, headerPanelWindow);
    EXPECT_EQ(elsewhere.brush, nullptr);
    EXPECT_EQ(elsewhere.backgroundMode, OPAQUE);
}

TEST_F(MainWindow, LayoutFollowsResizingAndSurvivesMinimising) {
    auto layout = [&] {
        return std::vector<Rect>{clientSize(mainWindow), placeInParent(questionPanelWindow),
                                 placeInParent(headerPanelWindow), placeInParent(GetDlgItem(mainWindow, VersionLabel))};
    };
    // Wine's frame leaves a client area of 536 x 348 inside the 544 x 375 window.
    EXPECT_EQ(layout(), (std::vector<Rect>{{0, 0, 536, 348}, {5, 50, 525, 280}, {5, 2, 525, 49}, {391, 332, 140, 15}}));

    RECT outer = {0, 0, 700, 500};  // the window whose client area is 700 x 500
    AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, 0);
    SetWindowPos(mainWindow, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER);
    pumpMessages();
    const std::vector<Rect> resized{{0, 0, 700, 500}, {5, 50, 689, 432}, {5, 2, 689, 49}, {555, 484, 140, 15}};
    EXPECT_EQ(layout(), resized);

    ShowWindow(mainWindow, SW_MINIMIZE);
    pumpMessages();
    ASSERT_TRUE(IsIconic(mainWindow));
    EXPECT_EQ(placeInParent(questionPanelWindow), resized[1]) << "minimising moves nothing";
    ShowWindow(mainWindow, SW_RESTORE);
    ASSERT_TRUE(pumpUntil([&] { return !IsIconic(mainWindow) && clientSize(mainWindow).width > 0; }));
    EXPECT_EQ(layout(), resized);
}

TEST_F(MainWindow, OneWheelNotchPostsOneScrollStepAndTwoOverTheQuestionPanel) {
    const struct { HWND* target; short distance; std::vector<WPARAM> requests; } cases[] = {
        {&mainWindow, 120, {PanelIds::ScrollUp50}},
        {&mainWindow, 240, {}},
        // The panel posts its own step and passes the message on to the main window.
        {&questionPanelWindow, -120, {PanelIds::ScrollDown50, PanelIds::ScrollDown50}},
    };
    MSG message;
    for (const auto& c : cases) {
        // Sent, yet the request arrives later: it is posted.
        SendMessageA(*c.target, WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(c.distance)), MAKELPARAM(10, 10));
        std::vector<WPARAM> requests;
        while (PeekMessageA(&message, questionPanelWindow, WM_VSCROLL, WM_VSCROLL, PM_REMOVE)) {
            EXPECT_EQ(message.lParam, 0);
            requests.push_back(message.wParam);
        }
        EXPECT_EQ(requests, c.requests) << c.distance;
    }
}

TEST_F(MainWindow, ClosingSavesEveryBoxAsTypedRemovesTheClipAndEndsTheLoopWithZeroThenShutdownEndsThePanels) {
    writeFile(ShellTexts::LeftoverClip, "ID3");
    type(4001, "Paris");
    type(4003, "42");

    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(runMessageLoop(), 0);

    EXPECT_FALSE(fileExists(ShellTexts::LeftoverClip));
    EXPECT_EQ(fileContent(savedFile), "Paris\r\n\r\n42\r\n\r\n\r\n\r\n\r\n");  // the demonstration's 7 boxes
    EXPECT_TRUE(IsWindow(mainWindow)) << "closing leaves the window to shutdown";

    SendMessageA(mainWindow, WM_CLOSE, 0, 0);  // no clip left: no error, the loop ends again
    EXPECT_TRUE(takeQuitMessage());

    // Shutdown ends the panels and releases the quiz, but leaves a text quiz's window.
    HWND header = headerPanelWindow;
    HWND questions = questionPanelWindow;
    shutDown(mainWindow);
    EXPECT_FALSE(IsWindow(header));
    EXPECT_TRUE(IsWindow(questions) && !IsWindowVisible(questions)) << "ended, not destroyed";
    EXPECT_TRUE(IsWindow(mainWindow));
    EXPECT_EQ(headerPanelWindow, nullptr);
    EXPECT_EQ(questionPanelWindow, nullptr);
}

// Nothing in this program plays a clip, so nothing loaded the hosting library before.
TEST_F(PlayerTest, TextQuizNeverPreparesMedia) {
    ASSERT_EQ(GetModuleHandleA("atl.dll"), nullptr);
    const int initialisations = handlesTaken(HandleKind::ComInitialisation);
    writeFile("kelvo1.mp3", "not ours to delete");
    open({QuizKind::Text, numbered(3)});
    click(6001);
    click(7001);
    EXPECT_FALSE(mediaStatus().started);
    close();
    EXPECT_EQ(GetModuleHandleA("atl.dll"), nullptr);
    EXPECT_EQ(handlesTaken(HandleKind::ComInitialisation), initialisations);
    EXPECT_TRUE(fileExists("kelvo1.mp3"));
    EXPECT_TRUE(platform.messages.empty());
}

TEST(Startup, AClassThatCannotBeRegisteredEndsWithItsMessageAndNothingElse) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    registerMainWindowClass(instance);  // taken already: the player's own registration fails
    ExecutablePatchResources resources;
    RecordingMessageSink loaderMessages;
    RecordingMessageSink startupMessages;

    EXPECT_EQ(runPlayer(instance, resources, loaderMessages, startupMessages), 0);

    EXPECT_EQ(startupMessages.messages, (std::vector<RecordingMessageSink::Message>{
                                            {"Erreur dans la cr\xE9" "ation de la fen\xEAtre principale", "Kelvo information"}}));
    EXPECT_TRUE(loaderMessages.messages.empty());
    EXPECT_EQ(theQuiz, nullptr);
    EXPECT_EQ(backgroundBrush.get(), nullptr);
    EXPECT_EQ(FindWindowA(ShellTexts::MainWindowClass, nullptr), nullptr);
}

}  // namespace
}  // namespace kelvo::testing
