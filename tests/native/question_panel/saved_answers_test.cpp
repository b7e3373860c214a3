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

std::string repeated(const std::string& part, int times) {
    std::string whole;
    for (int i = 0; i < times; ++i) whole += part;
    return whole;
}

TEST(SavedAnswersFileName, LastThreeCharactersBecomeTxt) {
    struct { const char* path; const char* name; } cases[] = {
        {"C:\\quiz\\player.exe", "player.txt"},
        {"other.exe", "other.txt"},
        {"C:\\a.b\\kelvo", "ketxt"},   // whatever the last three are
        {"C:\\x\\ab", "txt"},
    };
    for (const auto& test : cases) EXPECT_EQ(savedAnswersFileName(test.path), test.name) << test.path;
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
        {"an LF-only file is cut too", repeated("answer\n", 100), {repeated("answer\n", 100).substr(0, 259), "", "", ""}},
    };
    for (const auto& test : cases) EXPECT_EQ(readLines(test.content, 4), test.expected) << test.why;
}

}  // namespace
}  // namespace kelvo
