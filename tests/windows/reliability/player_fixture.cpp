#include "player_fixture.h"

#include <ostream>

#include "resources/control_ids.h"
#include "shell/win32/application.h"
#include "support/player_session.h"

namespace kelvo::testing {
namespace {

const char* const KindNames[] = {"ComPointer", "ComInitialisation", "File",   "FileMapping", "MappedView",
                                 "WindowDc",   "MemoryDc",          "SelectedObject", "Resource", "GlobalMemory",
                                 "Library",    "Bitmap",            "Brush",  "Font"};
static_assert(std::size(KindNames) == static_cast<std::size_t>(HandleKind::Count), "one name per kind");

}  // namespace

LiveCounts liveCounts() {
    LiveCounts live;
    for (int kind = 0; kind < static_cast<int>(HandleKind::Count); ++kind)
        live.counts.push_back(liveHandles(static_cast<HandleKind>(kind)));
    return live;
}

std::ostream& operator<<(std::ostream& out, const LiveCounts& live) {
    for (std::size_t kind = 0; kind < live.counts.size(); ++kind) out << KindNames[kind] << " " << live.counts[kind] << "; ";
    return out;
}

HRESULT QuietMediaPlatform::createPlayer(IWMPPlayer** player) {
    return playerMissing ? REGDB_E_CLASSNOTREG : MediaPlatform::createPlayer(player);
}
void QuietMediaPlatform::showMessage(HWND, const char* text, const char*) { messages.push_back(text); }
void QuietMediaPlatform::shellExecute(HWND, const char*, const char* file, int) { opened.push_back(file); }

void PlayerTest::SetUp() {
    clearPlayerFiles();
    useMediaPlatform(&platform);
}

void PlayerTest::TearDown() {
    if (theQuiz != nullptr) shutDownNow();
    pumpMessages();
    takeQuitMessage();
    useMediaPlatform(nullptr);
    clearPlayerFiles();
}

void PlayerTest::open(int kind, int revealMode, const std::vector<std::string>& answers) {
    beginPlayerStartUp();
    theQuiz = std::make_unique<Quiz>(drawing);
    Quiz& quiz = *theQuiz;
    quiz.kind = kind;
    quiz.revealMode = revealMode;
    quiz.questionCount = static_cast<int>(answers.size());
    copyText(quiz.title, "Quiz d'endurance");
    for (std::size_t i = 0; i < answers.size(); ++i) {
        quiz.addQuestion(answers[i].c_str(), "", ("Question " + std::to_string(i + 1)).c_str());
        copyText(quiz.lastQuestion()->revealText, ("C'est " + answers[i]).c_str());
        copyText(quiz.codes[i], ("CODE" + std::to_string(i + 1)).c_str());
    }
    mainWindow = openPlayerWindows();
    ASSERT_NE(mainWindow, nullptr);
    panel = questionPanelWindow;
}

void PlayerTest::shutDownNow() {
    closePlayerWindows(mainWindow);
    mainWindow = nullptr;
    panel = nullptr;
}

void PlayerTest::answer(int boxId, const std::string& text) {
    SetWindowTextA(control(boxId), text.c_str());
    SendMessageA(control(boxId), WM_KEYUP, VK_RETURN, 0xC0000001);
}

std::string PlayerTest::verdict(int boxId) const { return controlText(panel, boxId + PanelIds::VerdictOffset); }

HBITMAP PlayerTest::shownBitmap(int question) const {
    return reinterpret_cast<HBITMAP>(
        SendMessageA(control(PanelIds::pictureBox(question)), STM_GETIMAGE, IMAGE_BITMAP, 0));
}

void PlayerTest::click(int buttonId) {
    SendMessageA(panel, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(control(buttonId)));
}

}  // namespace kelvo::testing
