#include "core/quiz_payload.h"

#include <gtest/gtest.h>

#include "quiz/lzw_codec.h"
#include "quiz/quiz_loader.h"
#include "support/fake_drawing_objects.h"
#include "support/recording_message_sink.h"

namespace kelvo::pack {
namespace {

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

// A two-answer picture grid revealing text and pictures: every optional part
// of the layout is present.
PackedQuiz twoAnswerGrid() {
    PackedQuiz quiz;
    quiz.kind = QuizKind::Picture;
    quiz.revealMode = RevealMode::TextAndPicture;
    quiz.answersPerQuestion = 2;
    quiz.title = "Quiz";
    quiz.author = "Moi";
    quiz.firstCaption = "A";
    quiz.secondCaption = "B";
    quiz.red = 0x10;
    quiz.green = 0x20;
    quiz.blue = 0x30;
    quiz.codes = {"C1"};
    PackedQuestion first;
    first.answer = "un";
    first.secondAnswer = "one";
    first.revealText = "\xE9t\xE9";
    first.picture = {'G', 'I', 'F'};
    first.revealPicture = {'B', 'M'};
    PackedQuestion second;
    second.answer = "deux";
    second.secondAnswer = "two";
    second.prompt = "p";
    second.picture = {'J'};
    quiz.questions = {first, second};
    return quiz;
}

TEST(QuizPayload, TwoAnswerGridWithTextAndPictureRevealsMatchesHandComputedBytes) {
    const std::string expected = std::string("\x01\x02\x02\x02", 4) + "Quiz|Moi||A|B|" + "un|one||" + "deux|two|p|" +
                                 "\x03" + "\xE9t\xE9||" + "||" + "\x10\x20\x30";
    EXPECT_EQ(quizPayload(twoAnswerGrid()), bytesOf(expected));
    EXPECT_EQ(codesPayload(twoAnswerGrid()), bytesOf("C1\r\n\r\n"));
}

TEST(QuizPayload, OneAnswerLayoutsByRevealMode) {
    PackedQuiz quiz;
    quiz.kind = QuizKind::Text;
    quiz.title = "T";
    quiz.red = 1;
    quiz.green = 2;
    quiz.blue = 3;
    PackedQuestion question;
    question.answer = "Paris";
    question.prompt = "Capitale ?";
    question.revealText = "R";
    quiz.questions = {question};
    const std::string head = std::string("\x01\x01\x01\x01", 4) + "T|||||" + "Paris|Capitale ?|";
    const struct {
        int mode;
        std::string tail;
        const char* why;
    } cases[] = {
        {RevealMode::None, std::string("\x00\x01\x02\x03", 4), "no reveal fields: the colour follows the mode byte"},
        {RevealMode::Picture, std::string("\x01\x01\x02\x03", 4), "picture reveals carry no text field"},
        {RevealMode::Text, std::string("\x02R|\x01\x02\x03", 6), "one field per question"},
        {RevealMode::AllAtEnd, std::string("\x04R|\x01\x02\x03", 6), "one field per question"},
    };
    for (const auto& row : cases) {
        quiz.revealMode = row.mode;
        EXPECT_EQ(quizPayload(quiz), bytesOf(head + row.tail)) << row.why;
    }
}

class MapSource : public QuizResourceSource {
public:
    explicit MapSource(const ResourceSet& resources) : resources(resources) {}
    std::vector<std::uint8_t> patchResource(int id) override {
        const Resource* found = findResource(resources, ResourceTypes::patch(), static_cast<std::uint16_t>(id));
        return found != nullptr ? found->data : std::vector<std::uint8_t>{};
    }
    const ResourceSet& resources;
};

TEST(QuizPayload, ThePlayersLoaderReadsBackEveryField) {
    ResourceSet resources;
    std::string error;
    ASSERT_TRUE(makeQuizResources(twoAnswerGrid(), resources, error)) << error;

    kelvo::testing::FakeDrawingObjects drawing;
    kelvo::testing::RecordingMessageSink messages;
    Quiz quiz(drawing);
    MapSource source(resources);
    loadQuiz(quiz, source, messages);

    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(quiz.kind, QuizKind::Picture);
    EXPECT_EQ(quiz.questionCount, 2);
    EXPECT_EQ(quiz.answersPerQuestion, 2);
    EXPECT_EQ(quiz.revealMode, RevealMode::TextAndPicture);
    EXPECT_STREQ(quiz.title, "Quiz");
    EXPECT_STREQ(quiz.author, "Moi");
    EXPECT_STREQ(quiz.firstAnswerLabel, "A");
    EXPECT_STREQ(quiz.secondAnswerLabel, "B");
    EXPECT_STREQ(quiz.questionAt(1)->secondAnswer, "one");
    EXPECT_STREQ(quiz.questionAt(1)->revealText, "\xE9t\xE9");
    EXPECT_STREQ(quiz.questionAt(2)->answer, "deux");
    EXPECT_STREQ(quiz.questionAt(2)->prompt, "p");
    EXPECT_EQ(quiz.color(), colorRef(0x10, 0x20, 0x30));
    EXPECT_STREQ(quiz.codes[0], "C1");
    EXPECT_STREQ(quiz.codes[1], "");
}

TEST(QuizPayload, ResourcesHoldEachMediaFileUnderItsIdentifier) {
    ResourceSet resources;
    std::string error;
    ASSERT_TRUE(makeQuizResources(twoAnswerGrid(), resources, error)) << error;
    ASSERT_EQ(resources.size(), 5u);   // 104, 105, IMG 401, IMG 10401, IMG 402
    EXPECT_EQ(findResource(resources, ResourceTypes::image(), 401)->data, Bytes({'G', 'I', 'F'}));
    EXPECT_EQ(findResource(resources, ResourceTypes::image(), 10401)->data, Bytes({'B', 'M'}));
    EXPECT_EQ(findResource(resources, ResourceTypes::image(), 402)->data, Bytes({'J'}));
    EXPECT_EQ(findResource(resources, ResourceTypes::image(), 10402), nullptr);
    for (const Resource& resource : resources) EXPECT_EQ(resource.language, NeutralLanguage);
}

TEST(QuizPayload, ReadingResourcesBackGivesTheSameQuiz) {
    ResourceSet resources;
    std::string error;
    ASSERT_TRUE(makeQuizResources(twoAnswerGrid(), resources, error)) << error;
    PackedQuiz back;
    ASSERT_TRUE(readQuizResources(resources, back, error)) << error;
    EXPECT_EQ(quizPayload(back), quizPayload(twoAnswerGrid()));
    EXPECT_EQ(codesPayload(back), codesPayload(twoAnswerGrid()));
    EXPECT_EQ(back.questions[0].revealPicture, twoAnswerGrid().questions[0].revealPicture);
    EXPECT_EQ(back.questions[1].picture, twoAnswerGrid().questions[1].picture);
}

TEST(QuizPayload, TruncatedOrImpossibleDataIsRefused) {
    const Bytes full = quizPayload(twoAnswerGrid());
    const Bytes codes = codesPayload(twoAnswerGrid());
    std::string error;
    PackedQuiz quiz;
    for (std::size_t length = 0; length < full.size(); ++length) {
        EXPECT_FALSE(parsePayloads(Bytes(full.begin(), full.begin() + length), codes, quiz, error)) << length;
    }
    EXPECT_FALSE(parsePayloads(full, bytesOf("C1\r\n"), quiz, error)) << "one code line short";
    Bytes badKind = full;
    badKind[1] = 9;
    EXPECT_FALSE(parsePayloads(badKind, codes, quiz, error));
    EXPECT_TRUE(parsePayloads(full, codes, quiz, error)) << error;
}

TEST(QuizPayload, APayloadTooLargeForTheCodecIsRefusedWithAMessage) {
    PackedQuiz quiz;
    quiz.kind = QuizKind::Text;
    PackedQuestion question;
    question.answer = std::string(259, 'a');
    question.prompt = std::string(259, 'b');
    quiz.questions.assign(96, question);
    quiz.revealMode = RevealMode::None;
    // 96 x 520 bytes stay under 65535; with 259-byte reveal texts they do not.
    ResourceSet resources;
    std::string error;
    ASSERT_LE(quizPayload(quiz).size(), MaxPayloadSize);
    quiz.kind = QuizKind::Picture;
    quiz.revealMode = RevealMode::TextAndPicture;
    for (PackedQuestion& q : quiz.questions) q.revealText = std::string(259, 'c');
    ASSERT_GT(quizPayload(quiz).size(), MaxPayloadSize);
    EXPECT_FALSE(makeQuizResources(quiz, resources, error));
    EXPECT_NE(error.find("65535"), std::string::npos) << error;
    EXPECT_TRUE(resources.empty());
}

}  // namespace
}  // namespace kelvo::pack
