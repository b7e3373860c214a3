// The rules of clip playback that need no player: which file a clip is
// written to, which button a command names, and in what order a play or
// stop request stops the player, deletes, writes and plays files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/geometry.h"

namespace kelvo {

// The numbers the clip extraction is asked with.
enum class MediaType { Audio = 1, Video = 2 };

// Audio for an audio quiz, video for a video quiz, nothing otherwise.
std::optional<MediaType> mediaTypeOfQuiz(int kind);

// "kelvo%d.mp3" or "kelvo%d.avi": the file the player is given and that
// is deleted again.
std::string mediaFileName(MediaType type, int question);
// The same name behind `folder`, for writing the clip.
std::string extractedFileName(const char* folder, MediaType type, int question);
// Every file shutdown deletes: questions 1 to 96 of the quiz's type.
std::vector<std::string> filesDeletedAtShutdown(MediaType type);

namespace MediaTexts {
constexpr const char* PlayerMissing = "WindowMediaplayer non d\xE9tect\xE9.";
constexpr const char* AudioNotLoaded = "Impossible de charger le fichier audio.";
constexpr const char* VideoNotLoaded = "Impossible de charger le fichier vid\xE9o.";
constexpr const char* Caption = "Information";
constexpr const char* ClipResourceType = "img";
constexpr const char* HostingLibrary = "atl.dll";
constexpr const char* AttachFunction = "AtlAxAttachControl";
constexpr const char* PlayerUiMode = "none";
}  // namespace MediaTexts

struct MediaCommand {
    enum Action { None, Play, Stop } action = None;
    int question = 0;
};

// The panel's whole command parameter: only a click (notification 0) of
// play button 6001..6096 or stop button 7001..7096 counts.
MediaCommand decodeMediaCommand(std::uint64_t command);

// Where a playing video is shown: the empty band above the row whose play
// button lies at (x, y).
Rect videoBandAbove(int playButtonX, int playButtonY);

// What play and stop requests do to the player and the files.
class MediaActions {
public:
    virtual ~MediaActions() = default;
    virtual void stopPlayer() = 0;
    virtual void deleteFile(const std::string& name) = 0;
    // Writes the clip of `resourceId` to its file; false when there is none
    // to play.
    virtual bool extractClip(int resourceId, MediaType type) = 0;
    virtual void openWithAssociatedProgram(const std::string& name) = 0;
    virtual void playInPlayer(const std::string& name, int question) = 0;
};

// The play and stop requests of one run, with the number of the clip asked
// for last.
class MediaRequests {
public:
    explicit MediaRequests(MediaType type) : type(type) {}

    // Stops and deletes the previous clip, writes this one and plays it in
    // the player, or with the associated program when there is no player.
    void play(int question, bool playerAvailable, MediaActions& actions);
    // Stops the player and deletes the current clip; nothing without player.
    void stop(bool playerReady, MediaActions& actions);

    int currentMedia() const { return current; }
    MediaType mediaType() const { return type; }

private:
    MediaType type;
    int current = 0;  // no request yet
};

}  // namespace kelvo
