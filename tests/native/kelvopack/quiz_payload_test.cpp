#include "core/quiz_payload.h"

#include <gtest/gtest.h>

#include "kelvopack/quiz_folder.h"
#include "quiz/quiz.h"

namespace kelvo::pack {
namespace {

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

// Second answers, and two reveal fields per question, the second empty.
TEST(QuizPayload, LayoutOfATwoAnswerGridRevealingTextAndPictures) {
    EXPECT_EQ(quizPayload(testing::awkwardQuiz()),
              bytesOf(std::string("\x01\x02\x02\x02", 4) + "Le \"grand\" quiz # d\x92\xE9t\xE9| C:\\Users\\prof|ligne 1\r\nligne 2\ttab|"
                      "Nom|Cri|1914|\xE9t\xE9||chat|miaou||\x03texte\nr\xE9v\xE9l\xE9||||\x01\xAB\xFF"));
    EXPECT_EQ(codesPayload(testing::awkwardQuiz()), bytesOf("\r\nF\xC9LICITATIONS | 2\r\n"));
}

// That they read back as the same quiz, the source writer's round trip shows.
TEST(QuizPayload, ResourcesAreNeutralAndNumberedByQuestionAndDamagedDataIsRefused) {
    const PackedQuiz original = testing::awkwardQuiz();
    ResourceSet resources;
    std::string error;
    ASSERT_TRUE(makeQuizResources(original, resources, error)) << error;
    ASSERT_EQ(resources.size(), 6u);  // 104, 105, IMG 401, 10401, 402 and 10402
    EXPECT_EQ(findResource(resources, ResourceTypes::image(), 401)->data, original.questions[0].picture);
    EXPECT_EQ(findResource(resources, ResourceTypes::image(), 10401)->data, original.questions[0].revealPicture);
    for (const Resource& resource : resources) EXPECT_EQ(resource.language, NeutralLanguage);

    PackedQuiz back;
    const Bytes full = quizPayload(original);
    const Bytes codes = codesPayload(original);
    for (std::size_t length = 0; length < full.size(); ++length) {
        EXPECT_FALSE(parsePayloads(Bytes(full.begin(), full.begin() + length), codes, back, error)) << length;
    }
    EXPECT_FALSE(parsePayloads(full, bytesOf("\r\n"), back, error)) << "one code line short";
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
