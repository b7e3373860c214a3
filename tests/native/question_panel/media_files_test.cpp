#include "question_panel/media_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "quiz/quiz.h"

namespace kelvo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

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

TEST(MediaFiles, NamesFollowTheQuizKind) {
    EXPECT_EQ(mediaTypeOfQuiz(QuizKind::Audio), MediaType::Audio);
    EXPECT_EQ(mediaTypeOfQuiz(QuizKind::Video), MediaType::Video);
    EXPECT_EQ(mediaTypeOfQuiz(QuizKind::Text), std::nullopt);
    EXPECT_EQ(mediaTypeOfQuiz(QuizKind::Picture), std::nullopt);
    EXPECT_EQ(mediaTypeOfQuiz(7), std::nullopt);
    EXPECT_EQ(mediaFileName(MediaType::Audio, 3), "kelvo3.mp3");
    EXPECT_EQ(mediaFileName(MediaType::Video, 96), "kelvo96.avi");
    EXPECT_EQ(extractedFileName("", MediaType::Video, 1), "kelvo1.avi");
    EXPECT_EQ(extractedFileName("clips\\", MediaType::Audio, 12), "clips\\kelvo12.mp3");
}

TEST(MediaFiles, ShutdownDeletesEveryClipOfTheQuizKindOnly) {
    const auto video = filesDeletedAtShutdown(MediaType::Video);
    ASSERT_EQ(video.size(), 96u);
    EXPECT_EQ(video.front(), "kelvo1.avi");
    EXPECT_EQ(video.back(), "kelvo96.avi");
    for (const std::string& name : video) EXPECT_EQ(name.substr(name.size() - 4), ".avi");
    EXPECT_EQ(filesDeletedAtShutdown(MediaType::Audio)[41], "kelvo42.mp3");
}

TEST(MediaFiles, OnlyClicksOfTheButtonsAreCommands) {
    struct Row {
        std::uint64_t command;
        MediaCommand::Action action;
        int question;
        const char* why;
    } rows[] = {
        {6001, MediaCommand::Play, 1, "first play button"},
        {6096, MediaCommand::Play, 96, "last play button"},
        {7002, MediaCommand::Stop, 2, "a stop button"},
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

TEST(MediaFiles, VideoIsShownInTheBandAboveItsRow) {
    // First row of a video quiz: play button at 46, 5 + 210.
    const Rect band = videoBandAbove(46, 215);
    EXPECT_EQ(band, (Rect{46, 10, 260, 200}));
}

TEST(MediaRequests, SecondPlayDeletesTheFirstClipBeforeWritingItsOwn) {
    RecordingActions actions({403, 405});
    MediaRequests requests(MediaType::Audio);
    requests.play(3, true, actions);
    requests.play(5, true, actions);
    EXPECT_THAT(actions.log, ElementsAre("stop", "extract 403 audio", "play kelvo3.mp3 for 3",  //
                                         "stop", "delete kelvo3.mp3", "extract 405 audio", "play kelvo5.mp3 for 5"));
    EXPECT_EQ(requests.currentMedia(), 5);
}

TEST(MediaRequests, PlayingTheSameQuestionAgainRewritesItsClip) {
    RecordingActions actions({401});
    MediaRequests requests(MediaType::Video);
    requests.play(1, true, actions);
    actions.log.clear();
    requests.play(1, true, actions);
    EXPECT_THAT(actions.log, ElementsAre("stop", "delete kelvo1.avi", "extract 401 video", "play kelvo1.avi for 1"));
}

TEST(MediaRequests, StopOfAnyQuestionStopsTheCurrentClip) {
    RecordingActions actions({405});
    MediaRequests requests(MediaType::Audio);
    requests.play(5, true, actions);
    actions.log.clear();
    requests.stop(true, actions);  // the stop button of question 2
    EXPECT_THAT(actions.log, ElementsAre("stop", "delete kelvo5.mp3"));
}

TEST(MediaRequests, QuestionWithoutClipStillBecomesTheCurrentOne) {
    RecordingActions actions({403});
    MediaRequests requests(MediaType::Audio);
    requests.play(3, true, actions);
    actions.log.clear();
    requests.play(4, true, actions);
    EXPECT_THAT(actions.log, ElementsAre("stop", "delete kelvo3.mp3", "extract 404 audio"));
    EXPECT_EQ(requests.currentMedia(), 4);
}

TEST(MediaRequests, WithoutPlayerTheAssociatedProgramOpensTheClip) {
    RecordingActions actions({402, 406});
    MediaRequests requests(MediaType::Video);
    requests.play(2, false, actions);
    requests.play(6, false, actions);
    EXPECT_THAT(actions.log, ElementsAre("extract 402 video", "open kelvo2.avi",  //
                                         "delete kelvo2.avi", "extract 406 video", "open kelvo6.avi"));
    actions.log.clear();
    requests.stop(false, actions);
    EXPECT_THAT(actions.log, IsEmpty()) << "stop buttons do nothing without a player";
}

TEST(MediaRequests, StopBeforeAnyPlayDeletesNothing) {
    RecordingActions actions({});
    MediaRequests requests(MediaType::Audio);
    requests.stop(true, actions);
    EXPECT_THAT(actions.log, ElementsAre("stop"));
}

}  // namespace
}  // namespace kelvo
