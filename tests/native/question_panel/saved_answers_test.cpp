#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "question_panel/saved_answers.h"

namespace kelvo {
namespace {

// The bytes in a buffer of their exact size, as a file view gives them: a
// read past the end is a fault the sanitizer reports.
std::vector<std::string> readLines(const std::string& content, int count) {
    const std::vector<std::uint8_t> bytes(content.begin(), content.end());
    SavedAnswersReader reader(bytes.data(), bytes.size());
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) lines.push_back(reader.nextLine());
    return lines;
}

TEST(SavedAnswersFileNames, LastThreeCharactersBecomeTxtAndThePerUserCopyCarriesTheQuizIdentity) {
    struct { const char* path; const char* name; } cases[] = {
        {"C:\\quiz\\player.exe", "player.txt"},
        {"other.exe", "other.txt"},
        {"C:\\a.b\\kelvo", "ketxt"},   // whatever the last three are
        {"C:\\x\\ab", "txt"},
    };
    for (const auto& test : cases) EXPECT_EQ(savedAnswersFileName(test.path), test.name) << test.path;

    // The per-user copy: the name without .exe, then the quiz identity.
    struct { const char* executable; const char* name; } perUser[] = {
        {"quiz.exe", "quiz-0123456789abcdef.txt"},
        {"QUIZ.EXE", "QUIZ-0123456789abcdef.txt"},
        {"quiz.scr", "quiz.scr-0123456789abcdef.txt"},  // only .exe is cut
        {"quiz", "quiz-0123456789abcdef.txt"},
    };
    for (const auto& test : perUser)
        EXPECT_EQ(perUserAnswersFileName(test.executable, "0123456789abcdef"), test.name) << test.executable;
}

TEST(AnswersCopyToRead, TheNewerCopyAndTheCurrentFolderOnATie) {
    const std::optional<std::uint64_t> none;
    struct Case {
        const char* why;
        std::optional<std::uint64_t> currentFolder, perUser;
        AnswersCopy expected;
    } cases[] = {
        {"neither exists", none, none, AnswersCopy::CurrentFolder},
        {"only the current folder's", 5, none, AnswersCopy::CurrentFolder},
        {"only the per-user copy", none, 5, AnswersCopy::PerUser},
        {"per-user written later", 5, 6, AnswersCopy::PerUser},
        {"current folder written later", 6, 5, AnswersCopy::CurrentFolder},
        {"written at the same time", 5, 5, AnswersCopy::CurrentFolder},
    };
    for (const auto& test : cases) EXPECT_EQ(answersCopyToRead(test.currentFolder, test.perUser), test.expected) << test.why;
}

TEST(SavedAnswersFormat, OneCrLfLinePerBoxCutTo259) {
    EXPECT_EQ(formatSavedAnswers({"Paris", "", "42"}), "Paris\r\n\r\n42\r\n");  // 13 bytes
    EXPECT_EQ(formatSavedAnswers({std::string(300, 'x')}), std::string(259, 'x') + "\r\n");
    EXPECT_EQ(formatSavedAnswers({" not trimmed ", "\xE9l\xE8ve"}), " not trimmed \r\n\xE9l\xE8ve\r\n");
}

TEST(SavedAnswersReader, LineRules) {
    using Lines = std::vector<std::string>;
    struct Case {
        const char* why;
        std::string content;
        Lines expected;
    } cases[] = {
        {"round trip", "Paris\r\n\r\n42\r\n", {"Paris", "", "42", ""}},
        {"last line without CR LF", "A\r\nB", {"A", "B", "", ""}},
        {"CR not followed by LF skips to the next LF", "A\rB\r\nX\r\n", {"A", "X", "", ""}},
        {"zero bytes add nothing", std::string("a\0b\r\n", 5), {"ab", "", "", ""}},
        {"empty content", "", {"", "", "", ""}},
        {"CR at the very end", "A\r", {"A", "", "", ""}},
        {"LF-only ends give the first box everything", "a\nb\nc\n", {"a\nb\nc\n", "", "", ""}},
        {"long lines are cut to 259 and the rest skipped", std::string(10000, 'y') + "\r\nnext\r\n",
         {std::string(259, 'y'), "next", "", ""}},
        {"an LF-only file is cut too", std::string(300, '\n'), {std::string(259, '\n'), "", "", ""}},
    };
    for (const auto& test : cases) EXPECT_EQ(readLines(test.content, 4), test.expected) << test.why;
}

}  // namespace
}  // namespace kelvo
