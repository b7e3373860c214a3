// The player's real windows around a quiz the test wrote (or the
// demonstration quiz), with the current and profile folders cleared per test.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <ostream>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/win32/scoped_handles.h"
#include "question_panel/win32/media_playback.h"
#include "platform/picture_fit.h"
#include "quiz/quiz.h"
#include "quiz/win32/gdi_drawing_objects.h"
#include "shell/win32/application.h"
#include "support/recording_message_sink.h"
#include "support/window_testing.h"

namespace kelvo {
inline std::ostream& operator<<(std::ostream& out, const FittedSize& size) {
    return out << size.width << " x " << size.height;
}
}  // namespace kelvo

namespace kelvo::testing {

// Prompts read "Question n" and reveal texts "Bien vu n"; second answers
// make a two-answer quiz.
struct TestQuiz {
    int kind = QuizKind::Text;
    std::vector<std::string> answers;
    int revealMode = RevealMode::None;
    std::vector<std::string> secondAnswers;
    std::vector<std::string> codes;
};
// stem + "1" ... stem + count.
std::vector<std::string> numbered(int count, const std::string& stem = "R");

// The bytes of "IMG" resource `id` of this test program.
std::string imageResource(int id);

class RecordingMediaPlatform : public MediaPlatform {
public:
    struct Call {
        HWND owner;
        std::string text;
        std::string caption;  // the verb, for the fallback player
        int showCommand = 0;
        bool operator==(const Call& o) const {
            return std::tie(owner, text, caption, showCommand) == std::tie(o.owner, o.text, o.caption, o.showCommand);
        }
    };

    HMODULE loadHostingLibrary() override {
        return hostingLibraryMissing ? nullptr : MediaPlatform::loadHostingLibrary();
    }
    HRESULT createPlayer(IWMPPlayer** player) override {
        return FAILED(playerResult) ? playerResult : MediaPlatform::createPlayer(player);
    }
    void showMessage(HWND owner, const char* text, const char* caption) override {
        messages.push_back({owner, text, caption});
    }
    void shellExecute(HWND owner, const char* verb, const char* file, int showCommand) override {
        opened.push_back({owner, file, verb, showCommand});
    }

    HRESULT playerResult = S_OK;  // a failure: the control "is not installed"
    bool hostingLibraryMissing = false;  // atl.dll "cannot be loaded"
    std::vector<Call> messages;
    std::vector<Call> opened;
};

// 0 x 0 for no bitmap.
inline FittedSize sizeOf(HBITMAP bitmap) {
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}
// 0x00RRGGBB, top row first.
std::vector<std::uint32_t> pixelsOf(HBITMAP bitmap, const FittedSize& size);

// Live handles of every kind (in HandleKind's order) the program's owners
// count, compared whole so that a failure shows every kind.
using LiveCounts = std::array<int, static_cast<int>(HandleKind::Count)>;
inline LiveCounts liveCounts() { return handle_counts::live; }

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Start-up's own order around `quiz`; `saved` is the saved-answers file
    // to start from (none: no file).
    void open(const TestQuiz& quiz, const std::optional<std::string>& saved = std::nullopt);
    // Start-up with the real loader, which finds no quiz data in a test program.
    void openDemonstrationQuiz();
    // Shutdown as the player runs it after its loop; nothing when nothing is open.
    void close();

    HWND control(int id) const { return GetDlgItem(panel, id); }
    std::string verdict(int boxId) const;
    std::string score() const;
    std::string code() const;
    void type(int boxId, const std::string& text) { SetWindowTextA(control(boxId), text.c_str()); }
    // The key released in the box, as the keyboard delivers it.
    void releaseKey(int boxId, WPARAM key);
    void answer(int boxId, const std::string& text) {
        type(boxId, text);
        releaseKey(boxId, VK_RETURN);
    }
    void click(int buttonId);
    HBITMAP shownBitmap(int question) const;

    RecordingMediaPlatform platform;
    RecordingMessageSink loaderMessages;
    GdiDrawingObjects drawing;
    HWND mainWindow = nullptr;
    HWND panel = nullptr;
    std::string savedFile;
    std::string profileFolder;
    std::string perUserFile;

private:
    void openWindows();
};

class DemonstrationQuizTest : public PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        openDemonstrationQuiz();
    }
};

}  // namespace kelvo::testing
