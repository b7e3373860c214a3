#include "web/engine/learning_platform.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace kelvo::web {
namespace {

std::map<std::string, std::string> valuesOf(const PlatformReport& report) {
    std::map<std::string, std::string> values;
    for (const PlatformValue& value : report.values) values[value.element] = value.value;
    return values;
}

// Every value is one its element's data model accepts: decimals for scores,
// the vocabularies of the statuses, each version's time format.
TEST(LearningPlatform, ScoreStatusAndTimeInEachVersionsForms) {
    const struct {
        int right, questions;
        std::int64_t centiseconds;
        std::map<std::string, std::string> scorm12, scorm2004;
    } rows[] = {
        {0, 5, 0,
         {{"cmi.core.score.raw", "0"}, {"cmi.core.lesson_status", "incomplete"}, {"cmi.core.session_time", "00:00:00.00"}},
         {{"cmi.score.raw", "0"}, {"cmi.score.scaled", "0"}, {"cmi.completion_status", "incomplete"},
          {"cmi.success_status", "unknown"}, {"cmi.session_time", "PT0H0M0.00S"}}},
        {1, 3, 372345,   // 1 h 2 min 3.45 s; thirds rounded to the places each element keeps
         {{"cmi.core.score.raw", "33.33"}, {"cmi.core.session_time", "01:02:03.45"}},
         {{"cmi.score.raw", "33.33"}, {"cmi.score.scaled", "0.3333333"}, {"cmi.session_time", "PT1H2M3.45S"}}},
        {95, 96, 0, {{"cmi.core.score.raw", "98.96"}}, {{"cmi.score.scaled", "0.9895833"}}},
        {2, 2, 360000LL * 12000,   // hours past what 1.2 writes in four digits
         {{"cmi.core.score.raw", "100"}, {"cmi.core.lesson_status", "passed"}, {"cmi.core.session_time", "9999:59:59.99"}},
         {{"cmi.score.raw", "100"}, {"cmi.score.scaled", "1"}, {"cmi.completion_status", "completed"},
          {"cmi.success_status", "passed"}, {"cmi.session_time", "PT12000H0M0.00S"}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.right) + " / " + std::to_string(row.questions));
        for (const auto& [version, expected] : {std::pair{ScormVersion::V1_2, row.scorm12}, {ScormVersion::V2004, row.scorm2004}}) {
            std::map<std::string, std::string> values = valuesOf(platformReport(version, row.right, row.questions, row.centiseconds, "a\r\n"));
            for (const auto& [element, value] : expected) EXPECT_EQ(values[element], value) << element;
            const char* prefix = version == ScormVersion::V1_2 ? "cmi.core." : "cmi.";
            EXPECT_EQ(values[std::string(prefix) + "exit"], "suspend");
            EXPECT_EQ(values[std::string(prefix) + "score.min"] + "-" + values[std::string(prefix) + "score.max"], "0-100");
        }
    }
}

TEST(LearningPlatform, SuspendDataCarriesTheSavedAnswersInPlatformSafeCharacters) {
    const std::string answers = "Paris\r\n\r\nAth\xE8nes | \"<&>\"\r\n" + std::string(259, 'x') + "\r\n";
    const std::optional<std::string> suspended = suspendDataFor(answers);
    ASSERT_TRUE(suspended);
    EXPECT_EQ(suspended->substr(0, 2), "K1");
    EXPECT_EQ(suspended->find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_"), std::string::npos);
    EXPECT_LT(suspended->size(), answers.size()) << "259 x compress";
    EXPECT_EQ(savedAnswersFrom(*suspended), answers);

    // Anything else is no answers at all, and the page falls back on the browser's copy.
    for (const std::string& other : {std::string(), std::string("K1"), "K2" + suspended->substr(2), suspended->substr(0, 10),
                                     "K1" + std::string(suspended->size() - 2, '!'), std::string("Paris\r\n")})
        EXPECT_EQ(savedAnswersFrom(other), std::nullopt) << other;
}

// Just under and just over the 4096 characters of SCORM 1.2, with answers no
// codec shrinks: over the limit the platform's copy is emptied (it would
// otherwise hand back older answers than the browser keeps); 2004 keeps both.
TEST(LearningPlatform, AnswersOverTheVersionsLimitAreKeptOnTheDeviceOnly) {
    std::mt19937 noise(4096);
    std::string answers;
    while (suspendDataFor(answers + "x\r\n").value_or("").size() <= 4096) answers += static_cast<char>(0x21 + noise() % 94);
    const std::string over = answers + "x\r\n";
    answers += "\r\n";
    ASSERT_GT(suspendDataFor(answers)->size(), 4096u - 8);
    const struct {
        ScormVersion version;
        const std::string& answers;
        bool kept;
    } rows[] = {{ScormVersion::V1_2, answers, true}, {ScormVersion::V1_2, over, false}, {ScormVersion::V2004, over, true}};
    for (const auto& row : rows) {
        const PlatformReport report = platformReport(row.version, 0, 1, 0, row.answers);
        EXPECT_EQ(report.answersKept, row.kept);
        EXPECT_EQ(valuesOf(report)["cmi.suspend_data"], row.kept ? *suspendDataFor(row.answers) : "");
    }
}

}  // namespace
}  // namespace kelvo::web
