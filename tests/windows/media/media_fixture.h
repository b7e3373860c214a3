// The player's real windows around a quiz of the test's making, with the
// media platform replaced by one that records messages and the fallback
// player, and can pretend the media player control is not installed.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "question_panel/win32/media_playback.h"
#include "quiz/quiz.h"
#include "quiz/win32/gdi_drawing_objects.h"
#include "support/window_testing.h"

namespace kelvo::testing {

class RecordingMediaPlatform : public MediaPlatform {
public:
    struct Call {
        HWND owner;
        std::string text;
        std::string caption;  // the verb, for the fallback player
        int showCommand = 0;
        bool operator==(const Call& other) const {
            return owner == other.owner && text == other.text && caption == other.caption &&
                   showCommand == other.showCommand;
        }
    };

    HMODULE loadHostingLibrary() override;
    HRESULT createPlayer(IWMPPlayer** player) override;
    void showMessage(HWND owner, const char* text, const char* caption) override;
    void shellExecute(HWND owner, const char* verb, const char* file, int showCommand) override;

    HRESULT playerResult = S_OK;  // a failure: the control "is not installed"
    bool hostingLibraryMissing = false;  // atl.dll "cannot be loaded"
    std::vector<Call> messages;
    std::vector<Call> opened;
};
std::ostream& operator<<(std::ostream& out, const RecordingMediaPlatform::Call& call);

class MediaQuizTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Start-up's own order: the quiz, media start-up, then the windows.
    void open(int kind, int questionCount = 6);
    // The shutdown sequence; for an audio or video quiz it destroys the main window.
    void shutDownNow();

    HWND control(int id) const { return GetDlgItem(panel, id); }
    // A click of the button, as the panel receives it.
    void click(int buttonId) {
        SendMessageA(panel, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(control(buttonId)));
    }

    RecordingMediaPlatform platform;
    GdiDrawingObjects drawing;
    HWND mainWindow = nullptr;
    HWND panel = nullptr;
};

bool clipFileExists(const std::string& name);
// The bytes of "IMG" resource `id` of this test program.
std::string clipBytes(int id);

}  // namespace kelvo::testing
