#include "quiz/quiz_identity.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

const std::vector<std::uint8_t> quizBytes = {0x30, 0x98, 0x8C, 0x70, 0x00};
const std::vector<std::uint8_t> codeBytes = {0x20, 0xC0, 0x00};

TEST(QuizIdentity, PinnedSoStoredFileNamesStayValidAndEveryPartCountsButTheNamesCase) {
    // Files already saved under this name must be found by later versions.
    EXPECT_EQ(quizIdentityText(quizIdentity(quizBytes, codeBytes, "quiz.exe")), "55cc9a5439d46cb2");
    EXPECT_EQ(quizIdentityText(quizIdentity({}, {}, "")), "81d23fd7003c2305");

    // Every part counts, but the name's case.
    const std::uint64_t base = quizIdentity(quizBytes, codeBytes, "quiz.exe");
    EXPECT_EQ(quizIdentity(quizBytes, codeBytes, "QUIZ.EXE"), base);
    EXPECT_NE(quizIdentity(quizBytes, codeBytes, "other.exe"), base);
    EXPECT_NE(quizIdentity(codeBytes, quizBytes, "quiz.exe"), base);
    EXPECT_NE(quizIdentity(quizBytes, {}, "quiz.exe"), base);
    // The same bytes split otherwise between the two resources are another quiz.
    std::vector<std::uint8_t> longer = quizBytes;
    longer.push_back(codeBytes.front());
    EXPECT_NE(quizIdentity(longer, {codeBytes.begin() + 1, codeBytes.end()}, "quiz.exe"), base);
}

}  // namespace
}  // namespace kelvo
