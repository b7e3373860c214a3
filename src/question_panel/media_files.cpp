#include "question_panel/media_files.h"

#include <cstdio>

#include "resources/control_ids.h"
#include "quiz/quiz.h"

namespace kelvo {
namespace {

const char* extension(MediaType type) {
    return type == MediaType::Audio ? "mp3" : "avi";
}

// The band is 210 pixels high; a margin keeps the picture off the row above.
constexpr int VideoBandHeight = 210;
constexpr int VideoMargin = 5;
constexpr int VideoWidth = 260;

}  // namespace

std::optional<MediaType> mediaTypeOfQuiz(int kind) {
    if (kind == QuizKind::Audio) return MediaType::Audio;
    if (kind == QuizKind::Video) return MediaType::Video;
    return std::nullopt;
}

std::string mediaFileName(MediaType type, int question) {
    return extractedFileName("", type, question);
}

std::string extractedFileName(const char* folder, MediaType type, int question) {
    char name[600];
    std::snprintf(name, sizeof name, "%skelvo%d.%s", folder != nullptr ? folder : "", question, extension(type));
    return name;
}

std::vector<std::string> filesDeletedAtShutdown(MediaType type) {
    std::vector<std::string> names;
    for (int question = 1; question <= MaxQuestions; ++question) names.push_back(mediaFileName(type, question));
    return names;
}

MediaCommand decodeMediaCommand(std::uint64_t command) {
    const auto first = [](int base) { return static_cast<std::uint64_t>(base + 1); };
    const auto last = [](int base) { return static_cast<std::uint64_t>(base + MaxQuestions); };
    if (command >= first(PanelIds::PlayButtonBase) && command <= last(PanelIds::PlayButtonBase))
        return {MediaCommand::Play, static_cast<int>(command) - PanelIds::PlayButtonBase};
    if (command >= first(PanelIds::StopButtonBase) && command <= last(PanelIds::StopButtonBase))
        return {MediaCommand::Stop, static_cast<int>(command) - PanelIds::StopButtonBase};
    return {};
}

Rect videoBandAbove(int playButtonX, int playButtonY) {
    return {playButtonX, playButtonY - VideoBandHeight + VideoMargin, VideoWidth, VideoBandHeight - 2 * VideoMargin};
}

void MediaRequests::play(int question, bool playerAvailable, MediaActions& actions) {
    if (playerAvailable) actions.stopPlayer();
    if (current != 0) actions.deleteFile(mediaFileName(type, current));
    // Changed before the clip is looked for: a missing clip still counts as asked for.
    current = question;
    if (!actions.extractClip(PanelIds::PictureResourceBase + question, type)) return;
    const std::string name = mediaFileName(type, current);
    if (playerAvailable)
        actions.playInPlayer(name, current);
    else
        actions.openWithAssociatedProgram(name);
}

void MediaRequests::stop(bool playerReady, MediaActions& actions) {
    if (!playerReady) return;
    actions.stopPlayer();
    if (current != 0) actions.deleteFile(mediaFileName(type, current));
}

}  // namespace kelvo
