#include "panel_fixture.h"

#include "question_panel/win32/question_panel.h"
#include "shell/win32/application.h"
#include "shell/win32/scoped_handles.h"

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

TEST_F(PanelTest, HugeSavedFileIsReadAndKeptUntilTheNextSave) {
    // 30 MB: the three answers, then lines no box asks for.
    std::string content = "Paris\r\n\r\n42\r\n";
    const std::string filler = std::string(98, 'r') + "\r\n";
    content.reserve(30 * 1024 * 1024);
    while (content.size() < 30u * 1024 * 1024) content += filler;
    const int mappingsBefore = handlesTaken(HandleKind::MappedView);
    open({QuizKind::Text, 1, RevealMode::None, {"PARIS", "x", "42"}}, content);
    EXPECT_EQ(windowText(box(4001)), "Paris");
    EXPECT_EQ(windowText(box(4003)), "42");
    EXPECT_EQ(handlesTaken(HandleKind::MappedView), mappingsBefore + 1) << "read through one view";
    for (HandleKind kind : {HandleKind::File, HandleKind::FileMapping, HandleKind::MappedView})
        EXPECT_EQ(liveHandles(kind), 0) << "closed once the panel is built";
    EXPECT_EQ(fileContent(savedFile).size(), content.size()) << "reading never writes";
    SendMessageA(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(fileContent(savedFile), "Paris\r\n\r\n42\r\n");
    takeQuitMessage();
}

TEST_F(PanelTest, SavedFileHeldByAnotherProgramLosesNothing) {
    writeFile(savedFile, "ancienne\r\n");
    // Another program holds the file open and shares nothing.
    ScopedFile held(CreateFileA(savedFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    open({QuizKind::Text, 1, RevealMode::None, {"a"}});
    EXPECT_EQ(windowText(box(4001)), "") << "an unreadable file gives empty answers";
    type(4001, "nouvelle");
    saveAnswers(panel);
    held.reset();
    EXPECT_EQ(fileContent(savedFile), "ancienne\r\n") << "not saved, and not emptied either";
    EXPECT_FALSE(fileExists((savedFile + ".tmp").c_str()));
    saveAnswers(panel);
    EXPECT_EQ(fileContent(savedFile), "nouvelle\r\n");
}

}  // namespace
}  // namespace kelvo::testing
