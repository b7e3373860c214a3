#include "panel_fixture.h"

#include "question_panel/win32/saved_answers_file.h"
#include "resources/header_ids.h"
#include "shell/win32/application.h"
#include "support/player_session.h"

namespace kelvo::testing {

void PanelTest::SetUp() {
    // Per-user copies go to a folder of the test's own, not the prefix's profile.
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    profileFolder = std::string(folder) + "\\profile";
    CreateDirectoryA(profileFolder.c_str(), nullptr);
    SetEnvironmentVariableA("LOCALAPPDATA", profileFolder.c_str());
    savedFile = savedAnswersFileName();
    perUserFile = perUserAnswersPath();
    // Folders standing in for the files are left behind by a run cut short.
    for (const std::string& name : {savedFile, savedFile + ".tmp", perUserFile}) {
        RemoveDirectoryA(name.c_str());
        DeleteFileA(name.c_str());
    }
}

void PanelTest::TearDown() {
    closePlayerWindows(mainWindow);
    DeleteFileA(savedFile.c_str());
    DeleteFileA(perUserFile.c_str());
}

void PanelTest::open(const QuizPlan& planned, const std::optional<std::string>& saved) {
    if (saved) writeFile(savedFile, *saved);
    beginPlayerStartUp();
    theQuiz = std::make_unique<Quiz>(drawing);
    Quiz& quiz = *theQuiz;
    quiz.kind = planned.kind;
    quiz.answersPerQuestion = planned.answersPerQuestion;
    quiz.revealMode = planned.revealMode;
    quiz.questionCount = static_cast<int>(planned.answers.size());
    copyText(quiz.title, "Quiz de test");
    for (std::size_t i = 0; i < planned.answers.size(); ++i) {
        std::string second = i < planned.secondAnswers.size() ? planned.secondAnswers[i] : "";
        std::string prompt = "Question " + std::to_string(i + 1);
        quiz.addQuestion(planned.answers[i].c_str(), second.c_str(), prompt.c_str());
        copyText(quiz.lastQuestion()->revealText, ("Bien vu " + std::to_string(i + 1)).c_str());
    }
    for (std::size_t i = 0; i < planned.codes.size(); ++i) copyText(quiz.codes[i], planned.codes[i].c_str());
    mainWindow = openPlayerWindows();
    ASSERT_NE(mainWindow, nullptr);
    panel = questionPanelWindow;
}

std::string PanelTest::score() const { return controlText(headerPanelWindow, HeaderIds::ScoreLabel); }
std::string PanelTest::code() const { return controlText(headerPanelWindow, HeaderIds::CodeBox); }

void PanelTest::releaseKey(int boxId, WPARAM key) {
    SendMessageA(box(boxId), WM_KEYUP, key, 0xC0000001);
}

}  // namespace kelvo::testing
