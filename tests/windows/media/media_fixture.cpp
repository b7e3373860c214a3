#include "media_fixture.h"

#include <ostream>

#include "shell/win32/application.h"
#include "support/player_session.h"

namespace kelvo::testing {

HMODULE RecordingMediaPlatform::loadHostingLibrary() {
    return hostingLibraryMissing ? nullptr : MediaPlatform::loadHostingLibrary();
}

HRESULT RecordingMediaPlatform::createPlayer(IWMPPlayer** player) {
    if (FAILED(playerResult)) return playerResult;
    return MediaPlatform::createPlayer(player);
}

void RecordingMediaPlatform::showMessage(HWND owner, const char* text, const char* caption) {
    messages.push_back({owner, text, caption});
}

void RecordingMediaPlatform::shellExecute(HWND owner, const char* verb, const char* file, int showCommand) {
    opened.push_back({owner, file, verb, showCommand});
}

std::ostream& operator<<(std::ostream& out, const RecordingMediaPlatform::Call& call) {
    return out << "{" << call.owner << ", \"" << call.text << "\", \"" << call.caption << "\", " << call.showCommand
               << "}";
}

void MediaQuizTest::SetUp() {
    clearPlayerFiles();
    useMediaPlatform(&platform);
}

void MediaQuizTest::TearDown() {
    if (theQuiz != nullptr) shutDownNow();
    pumpMessages();
    takeQuitMessage();
    useMediaPlatform(nullptr);
    clearPlayerFiles();
}

void MediaQuizTest::open(int kind, int questionCount) {
    beginPlayerStartUp();
    theQuiz = std::make_unique<Quiz>(drawing);
    theQuiz->kind = kind;
    theQuiz->questionCount = questionCount;
    copyText(theQuiz->title, "Quiz sonore");
    for (int n = 1; n <= questionCount; ++n) {
        const std::string answer = "R" + std::to_string(n);
        theQuiz->addQuestion(answer.c_str(), "", "");
    }
    mainWindow = openPlayerWindows();
    ASSERT_NE(mainWindow, nullptr);
    panel = questionPanelWindow;
}

void MediaQuizTest::shutDownNow() {
    closePlayerWindows(mainWindow);
    mainWindow = nullptr;
    panel = nullptr;
}

bool clipFileExists(const std::string& name) {
    return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string clipBytes(int id) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), "IMG");
    if (found == nullptr) return {};
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    return std::string(bytes, SizeofResource(nullptr, found));
}

}  // namespace kelvo::testing
