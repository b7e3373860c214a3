#include "panel_fixture.h"

#include "question_panel/win32/question_panel.h"
#include "shell/win32/application.h"

namespace kelvo::testing {
namespace {

TEST_F(PanelTest, ClosingSavesEveryBoxAsTyped) {
    open({QuizKind::Text, 1, RevealMode::None, {"Paris", "x", "42"}}, "old\r\n");
    type(4001, "Paris");
    type(4002, "");
    type(4003, "42");
    SendMessageA(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(fileContent(savedFile), "Paris\r\n\r\n42\r\n");
    EXPECT_TRUE(takeQuitMessage());
}

TEST_F(PanelTest, AnswersComeBackAfterARestartLongOnesCut) {
    std::string typed300(300, 'z');
    open({QuizKind::Picture, 2, RevealMode::None, {"a", "b"}, {"c", "d"}});
    type(4001, "\xE9l\xE8ve");
    SendMessageA(box(4002), EM_LIMITTEXT, 0, 0);
    type(4002, typed300);
    type(4004, "dernier");
    saveAnswers(panel);
    EXPECT_EQ(fileContent(savedFile), "\xE9l\xE8ve\r\n" + std::string(259, 'z') + "\r\n\r\ndernier\r\n");
}

TEST_F(PanelTest, AFailedSaveLeavesTheOldAnswers) {
    open({QuizKind::Text, 1, RevealMode::None, {"a"}}, "ancienne\r\n");
    // The temporary file cannot be made: a folder holds its name.
    std::string blocker = savedFile + ".tmp";
    ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), nullptr));
    type(4001, "nouvelle");
    saveAnswers(panel);
    RemoveDirectoryA(blocker.c_str());
    EXPECT_EQ(fileContent(savedFile), "ancienne\r\n");
    saveAnswers(panel);
    EXPECT_EQ(fileContent(savedFile), "nouvelle\r\n");
}

TEST_F(PanelTest, APanelWithoutBoxesKeepsThePreviousAnswers) {
    // Quiz data that did not load leaves no questions; closing must not
    // empty the file of a previous good run.
    open({QuizKind::Text, 1, RevealMode::None, {}}, "Paris\r\n42\r\n");
    SendMessageA(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(fileContent(savedFile), "Paris\r\n42\r\n");
    takeQuitMessage();
}

TEST_F(PanelTest, BadSavedFilesNeverBreakTheStart) {
    std::string lfOnly;
    for (int i = 0; i < 50; ++i) lfOnly += "ligne\n";
    std::string binary;
    for (int i = 0; i < 2000; ++i) binary += static_cast<char>(i * 37);
    for (const std::string& content : {lfOnly, binary, std::string(10000, 'q') + "\r\nb\r\n"}) {
        open({QuizKind::Text, 1, RevealMode::None, {"a", "b"}}, content);
        EXPECT_LE(windowText(box(4001)).size(), 259u);
        DestroyWindow(mainWindow);
        mainWindow = nullptr;
        shutDown(nullptr);
        pumpMessages();
        takeQuitMessage();
    }
}

}  // namespace
}  // namespace kelvo::testing
