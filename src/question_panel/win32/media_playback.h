// Audio and video clips of the questions, played through the platform's
// media player control hosted in the question panel.
#pragma once

#include <windows.h>

#include <string>

#include "question_panel/media_files.h"
#include "quiz/quiz.h"

struct IWMPPlayer;

namespace kelvo {

// Start-up, before any window exists: prepares the hosting library and COM
// for an audio or video quiz; does nothing for other kinds.
void startMedia(std::int32_t quizKind);
// The panel's first construction step: icons, player host, player control.
void setUpPanelMedia(HWND panel, const Quiz& quiz);
// Icons of the play and stop buttons (owned by the media state).
void decorateMediaButton(HWND button, bool play);
// WM_COMMAND of the panel: play and stop buttons.
void handleMediaCommand(HWND panel, WPARAM command);
// Shutdown: lets the player go, destroys the main window, deletes the
// extracted clips, releases COM and the hosting library; nothing for a quiz
// of another kind.
void stopMedia(HWND mainWindow, std::int32_t quizKind);

// Writes clip `resourceId` of the executable to its file in `folder`; false,
// after saying so where the clip is there but could not be written, when
// there is nothing to play.
bool extractMedia(int resourceId, MediaType type, const char* folder);

// The platform calls whose outcome the program reacts to; tests put in
// their own to reach the paths Wine does not take by itself.
class MediaPlatform {
public:
    virtual ~MediaPlatform() = default;
    virtual HMODULE loadHostingLibrary();
    virtual HRESULT createPlayer(IWMPPlayer** player);
    virtual void showMessage(HWND owner, const char* text, const char* caption);
    // ShellExecuteA without parameters or folder.
    virtual void shellExecute(HWND owner, const char* verb, const char* file, int showCommand);
};
// Null puts the real platform back.
void useMediaPlatform(MediaPlatform* platform);

// What a test can read back of the media state.
struct MediaStatus {
    bool started = false;
    bool playerAvailable = false;
    int currentMedia = 0;
    HWND playerHost = nullptr;
    std::string playerUrl;
};
MediaStatus mediaStatus();

}  // namespace kelvo
