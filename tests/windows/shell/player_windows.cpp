#include "player_windows.h"

#include <fstream>
#include <iterator>

#include "shell/win32/application.h"
#include "support/player_session.h"

namespace kelvo::testing {

void PlayerWindows::SetUp() {
    beginPlayerStartUp();
    createQuiz(drawing, resources, loaderMessages);
    mainWindow = openPlayerWindows();
    ASSERT_NE(mainWindow, nullptr);
}

void PlayerWindows::TearDown() {
    closePlayerWindows(mainWindow);
}

}  // namespace kelvo::testing
