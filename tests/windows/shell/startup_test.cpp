// Start-up's failure path and shutdown's order of release.
#include <windows.h>

#include <gtest/gtest.h>

#include "player_windows.h"
#include "shell/shell_texts.h"
#include "shell/win32/application.h"

namespace kelvo::testing {
namespace {

TEST(Startup, AClassThatCannotBeRegisteredEndsWithItsMessageAndNothingElse) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    registerMainWindowClass(instance);  // taken already: the player's own registration fails
    ExecutablePatchResources resources;
    RecordingSink loaderMessages;
    RecordingSink startupMessages;

    EXPECT_EQ(runPlayer(instance, resources, loaderMessages, startupMessages), 0);

    EXPECT_EQ(startupMessages.messages,
              std::vector<std::string>{"Erreur dans la cr\xE9" "ation de la fen\xEAtre principale | Kelvo information"});
    EXPECT_TRUE(loaderMessages.messages.empty());
    EXPECT_EQ(theQuiz, nullptr);
    EXPECT_EQ(backgroundBrush, nullptr);
    EXPECT_EQ(FindWindowA(ShellTexts::MainWindowClass, nullptr), nullptr);
}

using Shutdown = PlayerWindows;

TEST_F(Shutdown, EndsThePanelsAndReleasesTheQuizButLeavesATextQuizsWindow) {
    HWND header = headerPanelWindow;
    HWND questions = questionPanelWindow;
    shutDown(mainWindow);
    EXPECT_FALSE(IsWindow(header));
    EXPECT_TRUE(IsWindow(questions)) << "ended, not destroyed";
    EXPECT_FALSE(IsWindowVisible(questions));
    EXPECT_TRUE(IsWindow(mainWindow));
    EXPECT_EQ(theQuiz, nullptr);
    EXPECT_EQ(backgroundBrush, nullptr);
    EXPECT_EQ(headerPanelWindow, nullptr);
    EXPECT_EQ(questionPanelWindow, nullptr);
}

}  // namespace
}  // namespace kelvo::testing
