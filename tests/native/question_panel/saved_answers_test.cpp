#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "question_panel/saved_answers.h"

namespace kelvo {
namespace {

std::vector<std::string> readLines(const std::string& content, int count) {
    SavedAnswersReader reader(reinterpret_cast<const std::uint8_t*>(content.data()), content.size());
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) lines.push_back(reader.nextLine());
    return lines;
}

TEST(SavedAnswersFileName, LastThreeCharactersBecomeTxt) {
    struct { const char* path; const char* name; } cases[] = {
        {"C:\\quiz\\player.exe", "player.txt"},
        {"C:\\quiz\\PLAYER.EXE", "PLAYER.txt"},
        {"other.exe", "other.txt"},
        {"C:\\a.b\\kelvo", "ketxt"},   // whatever the last three are
        {"C:\\x\\ab", "txt"},
    };
    for (const auto& test : cases) EXPECT_EQ(savedAnswersFileName(test.path), test.name) << test.path;
}

TEST(SavedAnswersFormat, OneCrLfLinePerBoxCutTo259) {
    EXPECT_EQ(formatSavedAnswers({"Paris", "", "42"}), "Paris\r\n\r\n42\r\n");
    EXPECT_EQ(formatSavedAnswers({"Paris", "", "42"}).size(), 13u);
    std::string typed300(300, 'x');
    EXPECT_EQ(formatSavedAnswers({typed300}), std::string(259, 'x') + "\r\n");
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
    };
    for (const auto& test : cases) EXPECT_EQ(readLines(test.content, 4), test.expected) << test.why;
}

TEST(SavedAnswersReader, LongLinesAreCutAndTheRestIsSkipped) {
    std::string content = std::string(10000, 'y') + "\r\nnext\r\n";
    std::vector<std::string> lines = readLines(content, 2);
    EXPECT_EQ(lines[0], std::string(259, 'y'));
    EXPECT_EQ(lines[1], "next");

    std::string lfOnly;
    for (int i = 0; i < 100; ++i) lfOnly += "answer\n";
    EXPECT_EQ(readLines(lfOnly, 1)[0].size(), 259u);
}

TEST(SavedAnswersReader, TwoAnswerGridOrder) {
    std::string saved = formatSavedAnswers({"q1a1", "q1a2", "q2a1", "q2a2"});
    EXPECT_EQ(readLines(saved, 4), (std::vector<std::string>{"q1a1", "q1a2", "q2a1", "q2a2"}));
}

}  // namespace
}  // namespace kelvo
