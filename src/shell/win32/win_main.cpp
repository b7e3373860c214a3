// Entry point of the player: only the instance handle is used; the window
// always opens in the normal state, and there are no arguments.
#include <windows.h>

#include "quiz/win32/executable_resources.h"
#include "shell/win32/application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        kelvo::ExecutablePatchResources resources;
        kelvo::MessageBoxSink loaderMessages;
        kelvo::InformationMessageBox startupMessages;
        return kelvo::runPlayer(instance, resources, loaderMessages, startupMessages);
    } catch (...) {
        return 1;  // out of memory during start-up
    }
}
