// What the page tells a learning platform through its SCORM run-time, and
// how the answers travel in the platform's suspend data. The page's script
// finds the run-time and makes the calls; every element and every value
// comes from here, each one the version's data model accepts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo::web {

// As the page's script names them.
enum class ScormVersion { V1_2 = 12, V2004 = 2004 };

// The suspend data a version keeps: SCORM 1.2 at most 4096 characters, 2004
// at least 64000 (what the page counts on).
std::size_t suspendDataLimit(ScormVersion version);

// The saved-answers file as suspend data: the version mark "K1", then the
// file's stream from the quiz's LZW codec in base64url (A-Z a-z 0-9 - _),
// characters that every platform stores and sends back as they are. Nothing
// when the codec refuses the file (more than its 32 KB of stream).
std::optional<std::string> suspendDataFor(const std::string& savedAnswers);

// The saved-answers file back; nothing for text that is not of that form
// (another mark, a damaged stream, or empty).
std::optional<std::string> savedAnswersFrom(std::string_view suspendData);

// The session's length as the version writes it: "0001:02:03.45" (1.2,
// hours, minutes, seconds) or "PT1H2M3.45S" (2004).
std::string sessionTime(ScormVersion version, std::int64_t centiseconds);

// The elements the page reads at start.
struct PlatformElements {
    const char* learnerId;
    // "resume" when a suspended session goes on; read first only in 2004,
    // where asking for suspend data never set is an error. 1.2 platforms
    // often leave their entry empty on resume, and there asking is no error.
    const char* entry;
    const char* suspendData;
};
const PlatformElements& platformElements(ScormVersion version);

struct PlatformValue {
    std::string element;
    std::string value;
};

struct PlatformReport {
    std::vector<PlatformValue> values;   // to set, in order, then commit once
    bool answersKept = true;             // false: too long for the platform, kept on this device only
};

// Score, status, session time, exit and suspend data after a check. Answers
// too long for the version's suspend data clear it, so that the platform
// never hands back older answers than the browser keeps.
PlatformReport platformReport(ScormVersion version, int rightQuestions, int questions, std::int64_t centiseconds,
                              const std::string& savedAnswers);

}  // namespace kelvo::web
