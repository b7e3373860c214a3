#include "question_panel/media_files.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "quiz/quiz.h"

namespace kelvo {
namespace {

// Writes down every action in order, with the clips the "executable" has.
class RecordingActions : public MediaActions {
public:
    explicit RecordingActions(std::set<int> clips) : clips(std::move(clips)) {}

    void stopPlayer() override { log.push_back("stop"); }
    void deleteFile(const std::string& name) override { log.push_back("delete " + name); }
    bool extractClip(int resourceId, MediaType type) override {
        log.push_back("extract " + std::to_string(resourceId) + (type == MediaType::Audio ? " audio" : " video"));
        return clips.count(resourceId) != 0;
    }
    void openWithAssociatedProgram(const std::string& name) override { log.push_back("open " + name); }
    void playInPlayer(const std::string& name, int question) override {
        log.push_back("play " + name + " for " + std::to_string(question));
    }

    std::set<int> clips;
    std::vector<std::string> log;
};

TEST(MediaFiles, NamesFollowTheQuizKindShutdownDeletesEveryClipOfThatKindOnlyAndVideoShowsAboveItsRow) {
    EXPECT_EQ(mediaTypeOfQuiz(QuizKind::Audio), MediaType::Audio);
    EXPECT_EQ(mediaTypeOfQuiz(QuizKind::Video), MediaType::Video);
    for (int kind : {int{QuizKind::Text}, int{QuizKind::Picture}, 7}) EXPECT_EQ(mediaTypeOfQuiz(kind), std::nullopt) << kind;
    EXPECT_EQ(mediaFileName(MediaType::Audio, 3), "kelvo3.mp3");
    EXPECT_EQ(extractedFileName("", MediaType::Video, 1), "kelvo1.avi");
    EXPECT_EQ(extractedFileName("clips\\", MediaType::Audio, 12), "clips\\kelvo12.mp3");
    const auto video = filesDeletedAtShutdown(MediaType::Video);
    ASSERT_EQ(video.size(), 96u);
    EXPECT_EQ(video.front(), "kelvo1.avi");
    EXPECT_EQ(video.back(), "kelvo96.avi");
    EXPECT_EQ(filesDeletedAtShutdown(MediaType::Audio)[41], "kelvo42.mp3");
    EXPECT_EQ(videoBandAbove(46, 215), (Rect{46, 10, 260, 200})) << "above the first row's play button";
}

TEST(MediaFiles, OnlyClicksOfTheButtonsAreCommands) {
    struct Row { std::uint64_t command; MediaCommand::Action action; int question; const char* why; } rows[] = {
        {6001, MediaCommand::Play, 1, "first play button"},
        {6096, MediaCommand::Play, 96, "last play button"},
        {7001, MediaCommand::Stop, 1, "first stop button"},
        {7096, MediaCommand::Stop, 96, "last stop button"},
        {6000, MediaCommand::None, 0, "below the play buttons"},
        {6097, MediaCommand::None, 0, "past the play buttons"},
        {7000, MediaCommand::None, 0, "below the stop buttons"},
        {7097, MediaCommand::None, 0, "past the stop buttons"},
        {(1u << 16) | 6001, MediaCommand::None, 0, "a notification other than a click"},
        {(std::uint64_t{1} << 32) | 6001, MediaCommand::None, 0, "the whole parameter is compared"},
    };
    for (const Row& row : rows) {
        const MediaCommand command = decodeMediaCommand(row.command);
        EXPECT_EQ(command.action, row.action) << row.why;
        EXPECT_EQ(command.question, row.question) << row.why;
    }
}

TEST(MediaRequests, EachPlayReplacesThePreviousClip) {
    constexpr int Stop = 0;  // a step of 0 clicks a stop button, any other plays that question
    using Log = std::vector<std::string>;
    struct Case {
        const char* why;
        MediaType type;
        std::set<int> clips;
        bool player;
        std::vector<int> steps;
        Log expected;
        int current;  // -1: not checked
    } cases[] = {
        {"a second play deletes the first clip before writing its own", MediaType::Audio, {403, 405}, true, {3, 5},
         {"stop", "extract 403 audio", "play kelvo3.mp3 for 3",  //
          "stop", "delete kelvo3.mp3", "extract 405 audio", "play kelvo5.mp3 for 5"}, 5},
        {"the same question again rewrites its clip", MediaType::Video, {401}, true, {1, 1},
         {"stop", "extract 401 video", "play kelvo1.avi for 1",  //
          "stop", "delete kelvo1.avi", "extract 401 video", "play kelvo1.avi for 1"}, 1},
        {"stop of any question stops the current clip", MediaType::Audio, {405}, true, {5, Stop},
         {"stop", "extract 405 audio", "play kelvo5.mp3 for 5", "stop", "delete kelvo5.mp3"}, -1},
        {"a question without clip still becomes the current one", MediaType::Audio, {403}, true, {3, 4},
         {"stop", "extract 403 audio", "play kelvo3.mp3 for 3", "stop", "delete kelvo3.mp3", "extract 404 audio"}, 4},
        {"without player the associated program opens the clip; stop does nothing", MediaType::Video, {402, 406},
         false, {2, 6, Stop},
         {"extract 402 video", "open kelvo2.avi", "delete kelvo2.avi", "extract 406 video", "open kelvo6.avi"}, -1},
        {"stop before any play deletes nothing", MediaType::Audio, {}, true, {Stop}, {"stop"}, -1},
    };
    for (const Case& test : cases) {
        RecordingActions actions(test.clips);
        MediaRequests requests(test.type);
        for (int step : test.steps) {
            if (step == Stop) requests.stop(test.player, actions);
            else requests.play(step, test.player, actions);
        }
        EXPECT_EQ(actions.log, test.expected) << test.why;
        if (test.current >= 0) {
            EXPECT_EQ(requests.currentMedia(), test.current) << test.why;
        }
    }
}

}  // namespace
}  // namespace kelvo
