#include "shell/win32/application.h"

#include <optional>

#include "question_panel/win32/media_playback.h"
#include "question_panel/win32/question_panel.h"
#include "quiz/win32/gdi_drawing_objects.h"
#include "resources/resource_ids.h"
#include "shell/main_window_layout.h"
#include "shell/shell_texts.h"
#include "shell/win32/header_panel.h"
#include "shell/win32/main_window.h"
#include "platform/win32/scoped_handles.h"

namespace kelvo {

std::unique_ptr<Quiz> theQuiz;
HWND headerPanelWindow = nullptr;
HWND questionPanelWindow = nullptr;
ScopedBrush backgroundBrush;

void InformationMessageBox::showMessage(const char* text, const char* caption) {
    MessageBoxA(nullptr, text, caption, MB_OK | MB_ICONINFORMATION);
}

bool registerMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_SCROLLBAR + 1);
    windowClass.lpszClassName = ShellTexts::MainWindowClass;
    return RegisterClassExA(&windowClass) != 0;
}

void createBackgroundBrush() {
    backgroundBrush.reset(CreateSolidBrush(BackgroundColor));
}

void createQuiz(DrawingObjects& drawing, QuizResourceSource& resources, MessageSink& messages) {
    theQuiz = std::make_unique<Quiz>(drawing);
    loadQuiz(*theQuiz, resources, messages);
}

HWND createMainWindow(HINSTANCE instance) {
    HWND window = CreateWindowExA(0, ShellTexts::MainWindowClass, theQuiz->title, WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, MainWindowGeometry::Width,
                                  MainWindowGeometry::Height, nullptr, nullptr, instance, nullptr);
    if (!window) return nullptr;
    RECT desktop;
    RECT own;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(window, &own);
    const Point origin = MainWindowGeometry::centredOrigin({desktop.left, desktop.top, desktop.right, desktop.bottom},
                                                           {own.left, own.top, own.right, own.bottom});
    SetWindowPos(window, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return window;
}

bool createPanels(HINSTANCE instance, HWND mainWindow, DLGPROC panelProcedure) {
    headerPanelWindow = CreateDialogParamA(instance, MAKEINTRESOURCEA(ResourceIds::HeaderPanelDialog), mainWindow,
                                           headerPanelProc, 0);
    if (!headerPanelWindow) return false;
    ShowWindow(headerPanelWindow, SW_SHOWNORMAL);
    theQuiz->headerPanel = headerPanelWindow;
    // Building a picture quiz's panel decodes every picture, each decode
    // between its own CoInitialize and CoUninitialize; holding COM open
    // around them all spares loading and unloading the decoder each time.
    std::optional<ScopedCoInitialize> comWhilePicturesLoad;
    if (theQuiz->kind == QuizKind::Picture) comWhilePicturesLoad.emplace();
    questionPanelWindow = CreateDialogParamA(instance, MAKEINTRESOURCEA(ResourceIds::QuestionPanelDialog),
                                             mainWindow, panelProcedure, reinterpret_cast<LPARAM>(theQuiz.get()));
    return questionPanelWindow != nullptr;
}

void showWindows(HWND mainWindow) {
    // The first showing reports the size, which lays both panels out before they are seen.
    ShowWindow(mainWindow, SW_SHOWNORMAL);
    ShowWindow(questionPanelWindow, SW_SHOWNORMAL);
    SendMessageA(questionPanelWindow, WM_VSCROLL, SB_TOP, 0);
}

int runMessageLoop() {
    MSG message = {};
    // GetMessageA gives -1 on failure; that ends the loop as well.
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(questionPanelWindow, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

void shutDown(HWND mainWindow) {
    if (questionPanelWindow) EndDialog(questionPanelWindow, 0);
    if (headerPanelWindow) DestroyWindow(headerPanelWindow);
    headerPanelWindow = nullptr;
    if (theQuiz) stopMedia(mainWindow, theQuiz->kind);
    questionPanelWindow = nullptr;
    backgroundBrush.reset();
    theQuiz.reset();
}

int runPlayer(HINSTANCE instance, QuizResourceSource& resources, MessageSink& loaderMessages,
              MessageSink& startupMessages, DLGPROC panelProcedure) {
    if (!registerMainWindowClass(instance)) {
        startupMessages.showMessage(ShellTexts::MainWindowFailed, ShellTexts::MainWindowFailedCaption);
        return 0;
    }
    createBackgroundBrush();
    GdiDrawingObjects drawing;  // outlives theQuiz, which shutDown deletes
    createQuiz(drawing, resources, loaderMessages);
    startMedia(theQuiz->kind);
    HWND mainWindow = createMainWindow(instance);
    // Without its windows the player cannot run: say so as for the class, and end.
    if (!mainWindow || !createPanels(instance, mainWindow, panelProcedure)) {
        startupMessages.showMessage(ShellTexts::MainWindowFailed, ShellTexts::MainWindowFailedCaption);
        shutDown(mainWindow);
        if (mainWindow && IsWindow(mainWindow)) DestroyWindow(mainWindow);
        return 0;
    }
    showWindows(mainWindow);
    const int exitCode = runMessageLoop();
    shutDown(mainWindow);
    return exitCode;
}

}  // namespace kelvo
