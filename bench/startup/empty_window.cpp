// The reference for the start-up benchmark: the least a Win32 program does
// to open one window and wait for input. Built a second time with
// KELVO_IMPORT_COM, it also imports what the player may use of OLE32,
// OLEAUT32 and SHELL32, to show what loading those libraries costs alone.
#include <windows.h>

#ifdef KELVO_IMPORT_COM
#include <ole2.h>
#include <olectl.h>
#include <shellapi.h>
#endif

namespace {

LRESULT CALLBACK emptyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

#ifdef KELVO_IMPORT_COM
// Never called in a benchmark run (no argument is given); its calls keep
// the three libraries in the import table, so the loader maps them at start.
void useComAndShell() {
    if (SUCCEEDED(CoInitialize(nullptr))) {
        IPicture* picture = nullptr;
        OleLoadPicture(nullptr, 0, FALSE, IID_IPicture, reinterpret_cast<void**>(&picture));
        CoUninitialize();
    }
    ShellExecuteA(nullptr, "open", "about:blank", nullptr, nullptr, SW_SHOWNORMAL);
}
#endif

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, [[maybe_unused]] LPSTR commandLine, int) {
#ifdef KELVO_IMPORT_COM
    if (commandLine != nullptr && commandLine[0] == '!') useComAndShell();
#endif
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = emptyWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "EmptyWindow";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "EmptyWindow", "Empty", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 544,
                                  375, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
