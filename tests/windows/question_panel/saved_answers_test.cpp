#include "support/player_fixture.h"

#include <cstring>
#include <functional>
#include <utility>

#include "question_panel/win32/question_panel.h"
#include "question_panel/win32/saved_answers_file.h"
#include "resources/header_ids.h"
#include "shell/shell_texts.h"
#include "shell/win32/application.h"
#include "platform/win32/scoped_handles.h"

namespace kelvo::testing {
namespace {

// Answers the message boxes this thread shows while it lives: notes each
// one's caption, text and buttons, runs `beforePressing`, presses `button`.
struct MessageBoxAnswerer {
    struct Seen {
        std::string caption, text;
        std::vector<int> buttons;
    };
    explicit MessageBoxAnswerer(int button, std::function<void()> beforePressing = {})
        : button(button), beforePressing(std::move(beforePressing)) {
        active = this;
    }
    ~MessageBoxAnswerer() {
        KillTimer(nullptr, timer);
        active = nullptr;
    }
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), answer, 0); }
    static BOOL CALLBACK answer(HWND box, LPARAM) {
        char className[8] = {};
        GetClassNameA(box, className, sizeof className);
        if (active == nullptr || std::strcmp(className, "#32770") != 0 || !IsWindowVisible(box)) return TRUE;
        Seen shown{windowText(box), controlText(box, 0xFFFF), {}};  // 0xFFFF: the box's text
        for (int id = IDOK; id <= IDCONTINUE; ++id)
            if (GetDlgItem(box, id) != nullptr) shown.buttons.push_back(id);
        active->seen.push_back(shown);
        if (active->beforePressing) active->beforePressing();
        const int pressed = GetDlgItem(box, active->button) != nullptr ? active->button : IDOK;
        SendMessageA(box, WM_COMMAND, MAKEWPARAM(pressed, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, pressed)));
        return FALSE;
    }

    static inline MessageBoxAnswerer* active = nullptr;
    int button;
    std::function<void()> beforePressing;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, onTimer);
    std::vector<Seen> seen;
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

TEST_F(PlayerTest, AnswersTheFolderCannotTakeAreKeptPerUserAndTheNewerCopyIsRead) {
    // The copy's name carries this program's quiz identity (no quiz data).
    EXPECT_EQ(perUserFile, profileFolder + "\\Kelvo\\question_panel_tests-fd9bfedc076b89b0.txt");
    // The folder keeps its old file but takes no new one: a folder holds
    // the temporary file's name.
    const std::string blocker = savedFile + ".tmp";
    ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), nullptr));
    writeFile(savedFile, "ancienne\r\n");
    makeOlder(savedFile, 60);
    open({QuizKind::Text, {"a"}});
    MessageBoxAnswerer noBoxExpected(IDOK);
    type(4001, "nouvelle");
    SendMessageA(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_TRUE(takeQuitMessage());
    close();
    open({QuizKind::Text, {"a"}});
    EXPECT_TRUE(noBoxExpected.seen.empty());
    EXPECT_EQ(fileContent(savedFile), "ancienne\r\n");
    EXPECT_EQ(fileContent(perUserFile), "nouvelle\r\n");
    EXPECT_EQ(windowText(control(4001)), "nouvelle") << "the per-user copy is the newer";
    RemoveDirectoryA(blocker.c_str());
}

// Folders stand where both copies would go.
class NowhereToSave : public PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        CreateDirectoryA((profileFolder + "\\Kelvo").c_str(), nullptr);
        ASSERT_TRUE(CreateDirectoryA(savedFile.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(perUserFile.c_str(), nullptr));
        open({QuizKind::Text, {"Lyon"}});
        type(4001, "Lyon");
    }
    void TearDown() override {
        RemoveDirectoryA(savedFile.c_str());
        RemoveDirectoryA(perUserFile.c_str());
        PlayerTest::TearDown();
    }
};

TEST_F(NowhereToSave, EachWayOfSavingSaysSoAndOffersItsChoices) {
    const std::function<void()> closeWindow = [&] { SendMessageA(mainWindow, WM_CLOSE, 0, 0); };
    const std::function<void()> pressF2 = [&] { releaseKey(4001, VK_F2); };
    const std::function<void()> clickSauver = [&] {
        SendMessageA(headerPanelWindow, WM_COMMAND, MAKEWPARAM(HeaderIds::SaveButton, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(headerPanelWindow, HeaderIds::SaveButton)));
    };
    const std::vector<int> onClose{IDCANCEL, IDTRYAGAIN, IDCONTINUE};
    const char* const notSavedOnClose = ShellTexts::AnswersNotSavedOnClose;
    const struct {
        const char* why;
        const std::function<void()>& save;
        int button;
        bool freeTheFolder, closes;
        const char* text;
        std::vector<int> buttons;
        const char* saved;
    } rows[] = {
        {"closing: try again once the folder is free", closeWindow, IDTRYAGAIN, true, true, notSavedOnClose, onClose, "Lyon\r\n"},
        {"closing anyway: the answers are lost", closeWindow, IDCONTINUE, false, true, notSavedOnClose, onClose, ""},
        {"closing cancelled: back to the quiz", closeWindow, IDCANCEL, false, false, notSavedOnClose, onClose, ""},
        {"F2", pressF2, IDOK, false, false, SavedAnswersTexts::NotSaved, {IDOK}, ""},
        {"Sauver", clickSauver, IDOK, false, false, SavedAnswersTexts::NotSaved, {IDOK}, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        MessageBoxAnswerer answerer(row.button, [&] {
            if (row.freeTheFolder) RemoveDirectoryA(savedFile.c_str());
        });
        row.save();
        ASSERT_EQ(answerer.seen.size(), 1u);
        EXPECT_EQ(answerer.seen[0].caption, "Kelvo");
        EXPECT_EQ(answerer.seen[0].text, row.text);
        EXPECT_EQ(answerer.seen[0].buttons, row.buttons);
        EXPECT_EQ(takeQuitMessage(), row.closes);
        EXPECT_EQ(fileContent(savedFile), row.saved);
        EXPECT_EQ(windowText(control(4001)), "Lyon");
        DeleteFileA(savedFile.c_str());
        CreateDirectoryA(savedFile.c_str(), nullptr);
    }
    RemoveDirectoryA(savedFile.c_str());
    clickSauver();
    EXPECT_EQ(fileContent(savedFile), "Lyon\r\n") << "Sauver saves once it can";
}

// The start reads the file through one view closed once the panel is
// built, never writes it, and closing writes the boxes back.
TEST_F(PlayerTest, SavedFilesOfAnySizeAreReadWithoutHarm) {
    std::string huge = "Paris\r\n\r\n42\r\n";  // then lines no box asks for, up to 30 MB
    while (huge.size() < 30u * 1024 * 1024) huge += std::string(98, 'r') + "\r\n";
    const struct {
        const char* why;
        std::vector<std::string> answers;
        std::string content;
        const char* firstBox;  // null: no box
        const char* afterClose;
    } rows[] = {
        // Quiz data that did not load leaves no questions.
        {"no boxes keep the previous answers", {}, "Paris\r\n42\r\n", nullptr, "Paris\r\n42\r\n"},
        {"30 MB", {"PARIS", "x", "42"}, huge, "Paris", "Paris\r\n\r\n42\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        const int viewsBefore = handlesTaken(HandleKind::MappedView);
        open({QuizKind::Text, row.answers}, row.content);
        if (row.firstBox != nullptr) {
            EXPECT_EQ(windowText(control(4001)), row.firstBox);
        }
        EXPECT_EQ(handlesTaken(HandleKind::MappedView), viewsBefore + 1);
        for (HandleKind kind : {HandleKind::File, HandleKind::FileMapping, HandleKind::MappedView})
            EXPECT_EQ(liveHandles(kind), 0);
        EXPECT_EQ(fileContent(savedFile).size(), row.content.size());
        SendMessageA(mainWindow, WM_CLOSE, 0, 0);
        EXPECT_TRUE(takeQuitMessage());
        EXPECT_EQ(fileContent(savedFile), row.afterClose);
        close();
    }
}

TEST_F(PlayerTest, SavedFileHeldByAnotherProgramLosesNothing) {
    writeFile(savedFile, "ancienne\r\n");
    // Another program holds the file open and shares nothing.
    ScopedFile held(CreateFileA(savedFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    open({QuizKind::Text, {"a"}});
    EXPECT_EQ(windowText(control(4001)), "") << "an unreadable file gives empty answers";
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
