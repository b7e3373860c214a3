#include "panel_fixture.h"

#include <cstring>
#include <functional>
#include <utility>

#include "question_panel/win32/question_panel.h"
#include "question_panel/win32/saved_answers_file.h"
#include "resources/header_ids.h"
#include "shell/shell_texts.h"
#include "shell/win32/application.h"
#include "platform/win32/scoped_handles.h"
#include "support/player_session.h"

namespace kelvo::testing {
namespace {

// Answers the message boxes this thread shows while it lives: notes what
// each said and offered, runs `beforePressing`, then presses `button`.
class MessageBoxAnswerer {
public:
    struct Seen {
        std::string caption;
        std::string text;
        std::vector<int> buttons;
    };

    explicit MessageBoxAnswerer(int button, std::function<void()> beforePressing = {})
        : button(button), beforePressing(std::move(beforePressing)) {
        active = this;
        timer = SetTimer(nullptr, 0, 50, onTimer);
    }
    ~MessageBoxAnswerer() {
        KillTimer(nullptr, timer);
        active = nullptr;
    }

    std::vector<Seen> seen;

private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (active != nullptr) active->answerShownBox();
    }
    static BOOL CALLBACK findBox(HWND window, LPARAM found) {
        char className[16] = {};
        GetClassNameA(window, className, sizeof className);
        if (std::strcmp(className, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    void answerShownBox() {
        HWND box = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), findBox, reinterpret_cast<LPARAM>(&box));
        if (box == nullptr) return;
        Seen shown{windowText(box), controlText(box, 0xFFFF), {}};  // 0xFFFF: the box's text
        for (int id = IDOK; id <= IDCONTINUE; ++id)
            if (GetDlgItem(box, id) != nullptr) shown.buttons.push_back(id);
        seen.push_back(shown);
        if (beforePressing) beforePressing();
        const int pressed = GetDlgItem(box, button) != nullptr ? button : IDOK;
        SendMessageA(box, WM_COMMAND, MAKEWPARAM(pressed, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, pressed)));
    }

    static inline MessageBoxAnswerer* active = nullptr;
    int button;
    std::function<void()> beforePressing;
    UINT_PTR timer = 0;
};

void makeOlder(const std::string& name, int seconds) {
    ScopedFile file(CreateFileA(name.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
    time.QuadPart -= static_cast<ULONGLONG>(seconds) * 10000000;
    const FILETIME older{time.LowPart, time.HighPart};
    SetFileTime(file.get(), nullptr, nullptr, &older);
}

TEST_F(PanelTest, ClosingSavesEveryBoxAsTyped) {
    open({QuizKind::Text, 1, RevealMode::None, {"Paris", "x", "42"}}, "old\r\n");
    type(4001, "Paris");
    type(4002, "");
    type(4003, "42");
    SendMessageA(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(fileContent(savedFile), "Paris\r\n\r\n42\r\n");
    EXPECT_TRUE(takeQuitMessage());
}

TEST_F(PanelTest, AnswersTheFolderCannotTakeAreKeptPerUserAndTheNewerCopyIsRead) {
    // The copy's name carries this program's quiz identity (no quiz data).
    EXPECT_EQ(perUserFile, profileFolder + "\\Kelvo\\question_panel_tests-fd9bfedc076b89b0.txt");
    // The folder keeps its old file but takes no new one: a folder holds
    // the temporary file's name.
    const std::string blocker = savedFile + ".tmp";
    ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), nullptr));
    writeFile(savedFile, "ancienne\r\n");
    makeOlder(savedFile, 60);
    const QuizPlan quiz{QuizKind::Text, 1, RevealMode::None, {"a"}};
    const auto closeAndStartAgain = [&](const char* typed) {
        type(4001, typed);
        SendMessageA(mainWindow, WM_CLOSE, 0, 0);
        EXPECT_TRUE(takeQuitMessage());
        closePlayerWindows(mainWindow);
        open(quiz);
    };
    open(quiz);
    MessageBoxAnswerer noBoxExpected(IDOK);
    closeAndStartAgain("nouvelle");
    EXPECT_TRUE(noBoxExpected.seen.empty());
    EXPECT_EQ(fileContent(savedFile), "ancienne\r\n");
    EXPECT_EQ(fileContent(perUserFile), "nouvelle\r\n");
    EXPECT_EQ(windowText(box(4001)), "nouvelle") << "the per-user copy is the newer";
    RemoveDirectoryA(blocker.c_str());
    closeAndStartAgain("encore");
    EXPECT_EQ(fileContent(savedFile), "encore\r\n");
    EXPECT_EQ(windowText(box(4001)), "encore") << "the current folder's copy is the newer";
}

// Folders stand where both copies would go.
class NowhereToSave : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        CreateDirectoryA((profileFolder + "\\Kelvo").c_str(), nullptr);
        ASSERT_TRUE(CreateDirectoryA(savedFile.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(perUserFile.c_str(), nullptr));
        open({QuizKind::Text, 1, RevealMode::None, {"Lyon"}});
        type(4001, "Lyon");
    }
    void TearDown() override {
        RemoveDirectoryA(savedFile.c_str());
        RemoveDirectoryA(perUserFile.c_str());
        PanelTest::TearDown();
    }
};

TEST_F(NowhereToSave, ClosingOffersToTryAgainToCloseAnywayOrToGoBack) {
    struct Row {
        const char* why;
        int button;
        bool freeTheFolder;
        bool closes;
        const char* saved;
    } rows[] = {
        {"try again once the folder is free", IDTRYAGAIN, true, true, "Lyon\r\n"},
        {"close anyway: the answers are lost", IDCONTINUE, false, true, ""},
        {"cancel: back to the quiz", IDCANCEL, false, false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        MessageBoxAnswerer answerer(row.button, [&] {
            if (row.freeTheFolder) RemoveDirectoryA(savedFile.c_str());
        });
        SendMessageA(mainWindow, WM_CLOSE, 0, 0);
        ASSERT_EQ(answerer.seen.size(), 1u);
        EXPECT_EQ(answerer.seen[0].caption, "Kelvo");
        EXPECT_EQ(answerer.seen[0].text, ShellTexts::AnswersNotSavedOnClose);
        EXPECT_EQ(answerer.seen[0].buttons, (std::vector<int>{IDCANCEL, IDTRYAGAIN, IDCONTINUE}));
        EXPECT_EQ(takeQuitMessage(), row.closes);
        EXPECT_EQ(fileContent(savedFile), row.saved);
        EXPECT_EQ(windowText(box(4001)), "Lyon");
        DeleteFileA(savedFile.c_str());
        CreateDirectoryA(savedFile.c_str(), nullptr);
    }
}

TEST_F(NowhereToSave, F2AndSauverSaySoAndKeepTheWindow) {
    const std::function<void()> saves[] = {
        [&] { releaseKey(4001, VK_F2); },
        [&] {
            SendMessageA(headerPanelWindow, WM_COMMAND, MAKEWPARAM(HeaderIds::SaveButton, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(headerPanelWindow, HeaderIds::SaveButton)));
        },
    };
    for (const auto& save : saves) {
        MessageBoxAnswerer answerer(IDOK);
        save();
        ASSERT_EQ(answerer.seen.size(), 1u);
        EXPECT_EQ(answerer.seen[0].text, SavedAnswersTexts::NotSaved);
        EXPECT_EQ(answerer.seen[0].buttons, (std::vector<int>{IDOK}));
        EXPECT_FALSE(takeQuitMessage());
    }
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
