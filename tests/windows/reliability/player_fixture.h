// The player's real windows around a quiz of the test's making, and the
// live counts of every kind of handle the program owns.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <iosfwd>
#include <string>
#include <vector>

#include "question_panel/win32/media_playback.h"
#include "quiz/quiz.h"
#include "quiz/win32/gdi_drawing_objects.h"
#include "platform/win32/scoped_handles.h"
#include "support/window_testing.h"

namespace kelvo::testing {

// Live handles of every kind, compared whole so a failure names the kind.
struct LiveCounts {
    std::vector<int> counts;
    bool operator==(const LiveCounts& other) const { return counts == other.counts; }
    bool operator!=(const LiveCounts& other) const { return counts != other.counts; }
};
LiveCounts liveCounts();
std::ostream& operator<<(std::ostream& out, const LiveCounts& live);

// The real media platform, but messages and the associated program are
// recorded instead of shown, and the player control can be "not installed".
class QuietMediaPlatform : public MediaPlatform {
public:
    HRESULT createPlayer(IWMPPlayer** player) override;
    void showMessage(HWND owner, const char* text, const char* caption) override;
    void shellExecute(HWND owner, const char* verb, const char* file, int showCommand) override;

    bool playerMissing = false;
    std::vector<std::string> messages;
    std::vector<std::string> opened;
};

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Start-up's own order: background brush, quiz, media, windows.
    void open(int kind, int revealMode, const std::vector<std::string>& answers);
    // Start-up's shutdown sequence, as the player runs it after its loop.
    void shutDownNow();

    HWND control(int id) const { return GetDlgItem(panel, id); }
    // Typed into the box and Enter released, as the keyboard delivers it.
    void answer(int boxId, const std::string& text);
    std::string verdict(int boxId) const;
    HBITMAP shownBitmap(int question) const;
    void click(int buttonId);

    QuietMediaPlatform platform;
    GdiDrawingObjects drawing;
    HWND mainWindow = nullptr;
    HWND panel = nullptr;
};


}  // namespace kelvo::testing
