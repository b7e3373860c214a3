#include "question_panel/win32/media_playback.h"

#include <oleauto.h>
#include <shellapi.h>
#include <wmp.h>

#include <memory>
#include <optional>

#include "resources/control_ids.h"
#include "question_panel/panel_layout.h"
#include "question_panel/win32/panel_state.h"
#include "resources/resource_ids.h"
#include "platform/win32/locked_resource.h"
#include "platform/win32/scoped_handles.h"

namespace kelvo {
namespace {

// {6BF52A52-394A-11D3-B153-00C04F79FAA6}
constexpr CLSID WindowsMediaPlayerClass = {
    0x6bf52a52, 0x394a, 0x11d3, {0xb1, 0x53, 0x00, 0xc0, 0x4f, 0x79, 0xfa, 0xa6}};
constexpr DWORD AnyServerContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;
constexpr int MaxWideName = 512;
// How often and how long a video handed to the player is watched for
// playing: a clip that cannot be decoded never gets there.
constexpr UINT PlayingCheckMilliseconds = 100;
constexpr int MaxPlayingChecks = 100;
constexpr UINT_PTR PlayingCheckTimer = PanelIds::PlayerHost;

using AttachControlFunction = HRESULT(WINAPI*)(IUnknown* control, HWND host, IUnknown** container);

// A wide string the player may keep a copy of.
class ScopedBstr {
public:
    explicit ScopedBstr(const wchar_t* text) : text(SysAllocString(text)) {}
    ScopedBstr(const ScopedBstr&) = delete;
    ScopedBstr& operator=(const ScopedBstr&) = delete;
    ~ScopedBstr() { SysFreeString(text); }
    BSTR get() const { return text; }

private:
    BSTR text;
};

// A timer of a window, killed with its owner.
class ScopedTimer {
public:
    ScopedTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC callback)
        : window(window), id(SetTimer(window, id, milliseconds, callback)) {}
    ScopedTimer(const ScopedTimer&) = delete;
    ScopedTimer& operator=(const ScopedTimer&) = delete;
    ~ScopedTimer() {
        if (id != 0) KillTimer(window, id);
    }

private:
    HWND window;
    UINT_PTR id;
};

// Held from start-up to shutdown. Members end in reverse order: the
// interfaces go before COM is uninitialised, the library last.
struct MediaState {
    explicit MediaState(MediaType type) : requests(type) {}

    ScopedLibrary hostingLibrary;
    AttachControlFunction attach = nullptr;
    std::optional<ScopedCoInitialize> com;
    ScopedComPtr<IUnknown> hostContainer;
    HWND playerHost = nullptr;
    ScopedComPtr<IWMPPlayer> player;
    ScopedComPtr<IWMPControls> controls;
    bool playerUnavailable = true;
    HICON playIcon = nullptr;  // shared icons: never destroyed
    HICON stopIcon = nullptr;
    MediaRequests requests;
    // Set while a video handed to the player is not yet seen playing.
    std::optional<ScopedTimer> playingWatch;
    int playingChecks = 0;
};

std::unique_ptr<MediaState> theMedia;
MediaPlatform realPlatform;
MediaPlatform* platform = &realPlatform;

std::wstring wideName(const std::string& name) {
    wchar_t wide[MaxWideName] = {};
    if (MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wide, MaxWideName) == 0) return {};
    return wide;
}

void placePlayerHost(HWND host, const Rect& place) {
    SetWindowPos(host, nullptr, place.x, place.y, place.width, place.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// A playing video takes the empty band above its row; audio needs no room.
void showVideoAbove(HWND panel, MediaState& media, int question) {
    HWND playButton = GetDlgItem(panel, PanelIds::PlayButtonBase + question);
    if (playButton == nullptr || media.playerHost == nullptr) return;
    RECT button;
    GetWindowRect(playButton, &button);
    MapWindowPoints(nullptr, panel, reinterpret_cast<POINT*>(&button), 2);
    placePlayerHost(media.playerHost, videoBandAbove(button.left, button.top));
    ShowWindow(media.playerHost, SW_SHOWNA);
}

// A clip stopped or replaced is not to be shown, so the watch ends too.
void hideVideo(MediaState& media) {
    media.playingWatch.reset();
    if (media.playerHost == nullptr || media.requests.mediaType() != MediaType::Video) return;
    ShowWindow(media.playerHost, SW_HIDE);
    placePlayerHost(media.playerHost, {});
}

// A position past the start is the one sign of playing that every player
// gives (Wine's knows no play state); a missing codec does not show in the
// result of the play request.
bool playerHasStarted(const MediaState& media) {
    double seconds = 0;
    return media.controls && media.controls->get_currentPosition(&seconds) == S_OK && seconds > 0;
}

// The host is shown only once the clip really plays, so a clip that fails
// leaves no frame of the previous one on screen.
void CALLBACK checkVideoPlaying(HWND panel, UINT, UINT_PTR, DWORD) {
    if (!theMedia || !theMedia->playingWatch) return;
    MediaState& media = *theMedia;
    if (playerHasStarted(media)) {
        media.playingWatch.reset();
        showVideoAbove(panel, media, media.requests.currentMedia());
    } else if (++media.playingChecks >= MaxPlayingChecks) {
        media.playingWatch.reset();
    }
}

void watchForPlaying(HWND panel, MediaState& media) {
    media.playingChecks = 0;
    media.playingWatch.emplace(panel, PlayingCheckTimer, PlayingCheckMilliseconds, checkVideoPlaying);
}

// Stopped and closed, the player no longer holds the clip file open.
void stopAndClosePlayer(MediaState& media) {
    if (!media.controls) return;
    media.controls->stop();
    if (media.player) media.player->close();
}

class PanelMediaActions : public MediaActions {
public:
    PanelMediaActions(HWND panel, MediaState& media) : panel(panel), media(media) {}

    void stopPlayer() override { stopAndClosePlayer(media); }
    void deleteFile(const std::string& name) override { DeleteFileA(name.c_str()); }
    bool extractClip(int resourceId, MediaType type) override {
        const PanelState* state = panelState(panel);
        const char* folder = state != nullptr && state->quiz != nullptr ? state->quiz->mediaFolder : "";
        return extractMedia(resourceId, type, folder);
    }
    void openWithAssociatedProgram(const std::string& name) override {
        // Shown normally: the program is the player the user now has.
        platform->shellExecute(panel, "open", name.c_str(), SW_SHOWNORMAL);
    }
    void playInPlayer(const std::string& name, int) override {
        if (!media.player) return;
        ScopedBstr url(wideName(name).c_str());
        media.player->put_URL(url.get());
        if (media.controls) media.controls->play();
        if (media.requests.mediaType() == MediaType::Video) watchForPlaying(panel, media);
    }

private:
    HWND panel;
    MediaState& media;
};

void createPlayer(HWND panel, MediaState& media) {
    const HRESULT result = platform->createPlayer(media.player.out());
    if (FAILED(result) || !media.player || media.attach == nullptr) {
        media.player.reset();
        media.playerUnavailable = true;
        platform->showMessage(panel, MediaTexts::PlayerMissing, MediaTexts::Caption);
        return;
    }
    media.playerUnavailable = false;
    // The container is asked for and kept: some hosting libraries attach
    // nothing when nobody takes it.
    media.attach(media.player.get(), media.playerHost, media.hostContainer.out());
    const HRESULT controlsResult = media.player->get_controls(media.controls.out());
    if (FAILED(controlsResult)) media.controls.reset();
    ScopedBstr mode(wideName(MediaTexts::PlayerUiMode).c_str());
    media.player->put_uiMode(mode.get());
    // A clip starts on the play request, not already when it is handed
    // over: started twice, a clip the player cannot open brings Wine's
    // player down.
    ScopedComPtr<IWMPSettings> settings;
    const HRESULT settingsResult = media.player->get_settings(settings.out());
    if (SUCCEEDED(settingsResult) && settings) settings->put_autoStart(VARIANT_FALSE);
}

bool writeWholeFile(const std::string& name, const void* bytes, DWORD size) {
    ScopedFile file(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    if (!file) return false;
    DWORD written = 0;
    const bool complete = WriteFile(file.get(), bytes, size, &written, nullptr) && written == size;
    file.reset();
    if (!complete) DeleteFileA(name.c_str());  // half a clip plays as nothing
    return complete;
}

void sayClipNotLoaded(MediaType type) {
    platform->showMessage(nullptr, type == MediaType::Audio ? MediaTexts::AudioNotLoaded : MediaTexts::VideoNotLoaded,
                          MediaTexts::Caption);
}

}  // namespace

HRESULT MediaPlatform::createPlayer(IWMPPlayer** player) {
    return CoCreateInstance(WindowsMediaPlayerClass, nullptr, AnyServerContext, __uuidof(IWMPPlayer),
                            reinterpret_cast<void**>(player));
}

HMODULE MediaPlatform::loadHostingLibrary() {
    return LoadLibraryA(MediaTexts::HostingLibrary);
}

void MediaPlatform::showMessage(HWND owner, const char* text, const char* caption) {
    MessageBoxA(owner, text, caption, MB_OK);
}

void MediaPlatform::shellExecute(HWND owner, const char* verb, const char* file, int showCommand) {
    ShellExecuteA(owner, verb, file, nullptr, nullptr, showCommand);
}

void useMediaPlatform(MediaPlatform* replacement) {
    platform = replacement != nullptr ? replacement : &realPlatform;
}

void startMedia(std::int32_t quizKind) {
    if (theMedia) return;
    const std::optional<MediaType> type = mediaTypeOfQuiz(quizKind);
    if (!type) return;
    theMedia = std::make_unique<MediaState>(*type);
    MediaState& media = *theMedia;
    media.hostingLibrary.reset(platform->loadHostingLibrary());
    // Without it COM stays uninitialised and the player cannot be made.
    if (!media.hostingLibrary) return;
    media.attach = reinterpret_cast<AttachControlFunction>(
        reinterpret_cast<void*>(GetProcAddress(media.hostingLibrary.get(), MediaTexts::AttachFunction)));
    media.com.emplace();
}

void setUpPanelMedia(HWND panel, const Quiz& quiz) {
    // A panel built without start-up's preparation (as tests do) prepares it here.
    if (!theMedia) startMedia(quiz.kind);
    if (!theMedia) return;
    MediaState& media = *theMedia;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    media.playIcon = LoadIconA(instance, MAKEINTRESOURCEA(ResourceIds::PlayIcon));
    media.stopIcon = LoadIconA(instance, MAKEINTRESOURCEA(ResourceIds::StopIcon));
    media.playerHost = CreateWindowExA(0, "STATIC", "", PanelStyles::PlayerHost, 0, 0, 0, 0, panel,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(PanelIds::PlayerHost)),
                                       instance, nullptr);
    createPlayer(panel, media);
}

void decorateMediaButton(HWND button, bool play) {
    if (!theMedia) return;
    HICON icon = play ? theMedia->playIcon : theMedia->stopIcon;
    SendMessageA(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

void handleMediaCommand(HWND panel, WPARAM command) {
    if (!theMedia) return;
    MediaState& media = *theMedia;
    const MediaCommand request = decodeMediaCommand(command);
    PanelMediaActions actions(panel, media);
    switch (request.action) {
        case MediaCommand::Play:
            hideVideo(media);
            media.requests.play(request.question, !media.playerUnavailable, actions);
            break;
        case MediaCommand::Stop:
            media.requests.stop(!media.playerUnavailable && media.controls, actions);
            hideVideo(media);
            break;
        case MediaCommand::None: break;
    }
}

bool extractMedia(int resourceId, MediaType type, const char* folder) {
    const LockedResource clip(nullptr, MediaTexts::ClipResourceType, resourceId);
    if (!clip.exists()) return false;
    const std::string name = extractedFileName(folder, type, resourceId - PanelIds::PictureResourceBase);
    if (!clip || !writeWholeFile(name, clip.data(), static_cast<DWORD>(clip.size()))) {
        sayClipNotLoaded(type);
        return false;
    }
    return true;
}

void stopMedia(HWND mainWindow, std::int32_t quizKind) {
    const std::optional<MediaType> type = mediaTypeOfQuiz(quizKind);
    if (!type) return;
    // The player lets go of its clip before the clips are deleted.
    if (theMedia) {
        theMedia->playingWatch.reset();
        stopAndClosePlayer(*theMedia);
        theMedia->controls.reset();
        theMedia->player.reset();
    }
    if (mainWindow != nullptr) DestroyWindow(mainWindow);
    // The hosting library's window code must be gone before the library is.
    if (theMedia && IsWindow(theMedia->playerHost)) DestroyWindow(theMedia->playerHost);
    if (theMedia) theMedia->hostContainer.reset();
    for (const std::string& name : filesDeletedAtShutdown(*type)) DeleteFileA(name.c_str());
    theMedia.reset();
}

MediaStatus mediaStatus() {
    MediaStatus status;
    if (!theMedia) return status;
    status.started = true;
    status.playerAvailable = !theMedia->playerUnavailable;
    status.currentMedia = theMedia->requests.currentMedia();
    status.playerHost = theMedia->playerHost;
    BSTR url = nullptr;
    if (theMedia->player && SUCCEEDED(theMedia->player->get_URL(&url)) && url != nullptr) {
        char narrow[MaxWideName * 2] = {};
        WideCharToMultiByte(CP_ACP, 0, url, -1, narrow, sizeof narrow, nullptr, nullptr);
        status.playerUrl = narrow;
        SysFreeString(url);
    }
    return status;
}

}  // namespace kelvo
