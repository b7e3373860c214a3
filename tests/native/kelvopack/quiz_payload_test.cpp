#include "core/quiz_payload.h"

#include <gtest/gtest.h>

#include "quiz/quiz.h"

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
    quiz.questions = {{"un", "one", "", "\xE9t\xE9", {'G', 'I', 'F'}, {'B', 'M'}}, {"deux", "two", "p", "", {'J'}, {}}};
    return quiz;
}

// The player's loader pins the layout of each reveal mode on the reading
// side, through the same payload code.
TEST(QuizPayload, TwoAnswerGridLaysOutSecondAnswersAndTwoRevealFieldsPerQuestion) {
    EXPECT_EQ(quizPayload(twoAnswerGrid()),
              bytesOf(std::string("\x01\x02\x02\x02", 4) + "Quiz|Moi||A|B|un|one||deux|two|p|\x03\xE9t\xE9||||\x10\x20\x30"));
    EXPECT_EQ(codesPayload(twoAnswerGrid()), bytesOf("C1\r\n\r\n"));
}

// The player's loader reading these resources is tested on built executables.
TEST(QuizPayload, ResourcesReadBackAsTheSameQuizAndDamagedDataIsRefused) {
    const PackedQuiz original = twoAnswerGrid();
    ResourceSet resources;
    std::string error;
    ASSERT_TRUE(makeQuizResources(original, resources, error)) << error;
    ASSERT_EQ(resources.size(), 5u);  // 104, 105, IMG 401, IMG 10401, IMG 402
    EXPECT_EQ(findResource(resources, ResourceTypes::image(), 10401)->data, Bytes({'B', 'M'}));
    EXPECT_EQ(findResource(resources, ResourceTypes::image(), 402)->data, Bytes({'J'}));
    for (const Resource& resource : resources) EXPECT_EQ(resource.language, NeutralLanguage);
    PackedQuiz back;
    ASSERT_TRUE(readQuizResources(resources, back, error)) << error;
    EXPECT_EQ(quizPayload(back), quizPayload(original));
    EXPECT_EQ(codesPayload(back), codesPayload(original));
    for (int i : {0, 1}) EXPECT_EQ(back.questions[i].picture, original.questions[i].picture);
    EXPECT_EQ(back.questions[0].revealPicture, original.questions[0].revealPicture);

    const Bytes full = quizPayload(original);
    const Bytes codes = codesPayload(original);
    for (std::size_t length = 0; length < full.size(); ++length) {
        EXPECT_FALSE(parsePayloads(Bytes(full.begin(), full.begin() + length), codes, back, error)) << length;
    }
    EXPECT_FALSE(parsePayloads(full, bytesOf("C1\r\n"), back, error)) << "one code line short";
    Bytes badKind = full;
    badKind[1] = 9;
    EXPECT_FALSE(parsePayloads(badKind, codes, back, error));
}

TEST(QuizPayload, APayloadTooLargeForTheCodecIsRefusedWithAMessage) {
    // 96 questions of 259-byte answer, prompt and reveal text: over 65535 bytes.
    PackedQuiz quiz;
    quiz.kind = QuizKind::Picture;
    quiz.revealMode = RevealMode::TextAndPicture;
    quiz.questions.assign(96, {std::string(259, 'a'), "", std::string(259, 'b'), std::string(259, 'c'), {}, {}});
    ASSERT_GT(quizPayload(quiz).size(), payload::MaxSize);
    ResourceSet resources;
    std::string error;
    EXPECT_FALSE(makeQuizResources(quiz, resources, error));
    EXPECT_NE(error.find("65535"), std::string::npos) << error;
    EXPECT_TRUE(resources.empty());
}

}  // namespace
}  // namespace kelvo::pack
