#include "support/player_fixture.h"

#include "question_panel/win32/saved_answers_file.h"
#include "quiz/win32/executable_resources.h"
#include "resources/control_ids.h"
#include "resources/header_ids.h"
#include "shell/win32/application.h"

namespace kelvo::testing {

std::vector<std::string> numbered(int count, const std::string& stem) {
    std::vector<std::string> list;
    for (int n = 1; n <= count; ++n) list.push_back(stem + std::to_string(n));
    return list;
}

std::vector<std::uint32_t> pixelsOf(HBITMAP bitmap, const FittedSize& size) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, size.width, -size.height, 1, 32, BI_RGB};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size.width) * size.height);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, size.height, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return pixels;
}

std::string imageResource(int id) {
    const std::vector<std::uint8_t> bytes = resourceBytes(nullptr, "IMG", id);
    return std::string(bytes.begin(), bytes.end());
}

namespace {
// The current folder as a fresh player finds it: no saved answers, no clips.
void clearPlayerFiles() {
    DeleteFileA(savedAnswersFileName().c_str());
    for (int n = 0; n <= 97; ++n)
        for (const char* extension : {".mp3", ".avi"}) DeleteFileA(("kelvo" + std::to_string(n) + extension).c_str());
}

// The steps before the quiz exists: the window class (once per process;
// later calls fail harmlessly) and the background brush.
void beginPlayerStartUp() {
    registerMainWindowClass(GetModuleHandleA(nullptr));
    createBackgroundBrush();
}
}  // namespace

void PlayerTest::SetUp() {
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
    clearPlayerFiles();
    useMediaPlatform(&platform);
}

void PlayerTest::TearDown() {
    close();
    useMediaPlatform(nullptr);
    clearPlayerFiles();
    DeleteFileA(perUserFile.c_str());
}

// The one place that writes a quiz into the player's memory.
void PlayerTest::open(const TestQuiz& planned, const std::optional<std::string>& saved) {
    if (saved) writeFile(savedFile, *saved);
    beginPlayerStartUp();
    theQuiz = std::make_unique<Quiz>(drawing);
    Quiz& quiz = *theQuiz;
    quiz.kind = planned.kind;
    quiz.answersPerQuestion = planned.secondAnswers.empty() ? 1 : 2;
    quiz.revealMode = planned.revealMode;
    quiz.questionCount = static_cast<int>(planned.answers.size());
    copyText(quiz.title, "Quiz de test");
    for (std::size_t i = 0; i < planned.answers.size(); ++i) {
        const std::string second = i < planned.secondAnswers.size() ? planned.secondAnswers[i] : "";
        quiz.addQuestion(planned.answers[i].c_str(), second.c_str(), ("Question " + std::to_string(i + 1)).c_str());
        copyText(quiz.lastQuestion()->revealText, ("Bien vu " + std::to_string(i + 1)).c_str());
    }
    for (std::size_t i = 0; i < planned.codes.size(); ++i) copyText(quiz.codes[i], planned.codes[i].c_str());
    openWindows();
}

void PlayerTest::openDemonstrationQuiz() {
    beginPlayerStartUp();
    ExecutablePatchResources resources;
    createQuiz(drawing, resources, loaderMessages);
    openWindows();
}

// The rest of start-up once theQuiz is filled.
void PlayerTest::openWindows() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (theQuiz != nullptr) startMedia(theQuiz->kind);
    mainWindow = createMainWindow(instance);
    ASSERT_NE(mainWindow, nullptr);
    ASSERT_TRUE(createPanels(instance, mainWindow));
    showWindows(mainWindow);
    pumpMessages();
    panel = questionPanelWindow;
}

// A text or picture quiz's main window goes first, while the quiz its boxes
// evaluate with still exists; a media quiz's goes inside stopMedia.
void PlayerTest::close() {
    if (theQuiz == nullptr && mainWindow == nullptr) return;
    const bool media = theQuiz != nullptr && (theQuiz->kind == QuizKind::Audio || theQuiz->kind == QuizKind::Video);
    if (!media && mainWindow != nullptr) DestroyWindow(mainWindow);
    shutDown(media ? mainWindow : nullptr);
    pumpMessages();
    takeQuitMessage();  // posted by the main window's WM_DESTROY
    mainWindow = nullptr;
    panel = nullptr;
}

std::string PlayerTest::verdict(int boxId) const { return controlText(panel, PanelIds::verdictLabel(boxId)); }
std::string PlayerTest::score() const { return controlText(headerPanelWindow, HeaderIds::ScoreLabel); }
std::string PlayerTest::code() const { return controlText(headerPanelWindow, HeaderIds::CodeBox); }

void PlayerTest::releaseKey(int boxId, WPARAM key) { SendMessageA(control(boxId), WM_KEYUP, key, 0xC0000001); }

void PlayerTest::click(int buttonId) {
    SendMessageA(panel, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(control(buttonId)));
}

HBITMAP PlayerTest::shownBitmap(int question) const {
    return reinterpret_cast<HBITMAP>(
        SendMessageA(control(PanelIds::pictureBox(question)), STM_GETIMAGE, IMAGE_BITMAP, 0));
}

}  // namespace kelvo::testing
