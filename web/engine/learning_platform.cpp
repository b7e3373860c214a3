#include "web/engine/learning_platform.h"

#include <cstdio>

#include "quiz/lzw_codec.h"

namespace kelvo::web {

namespace {

constexpr std::string_view Mark = "K1";
constexpr char Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

std::string base64url(const std::uint8_t* bytes, std::size_t length) {
    std::string out;
    unsigned group = 0;
    int bits = 0;
    for (std::size_t i = 0; i < length; ++i) {
        group = (group << 8 | bytes[i]) & 0xFFFF;
        bits += 8;
        for (; bits >= 6; bits -= 6) out += Digits[group >> (bits - 6) & 63];
    }
    if (bits > 0) out += Digits[group << (6 - bits) & 63];
    return out;
}

std::optional<std::vector<std::uint8_t>> fromBase64url(std::string_view text) {
    std::vector<std::uint8_t> out;
    unsigned group = 0;
    int bits = 0;
    for (char c : text) {
        const char* digit = c != '\0' ? std::char_traits<char>::find(Digits, 64, c) : nullptr;
        if (digit == nullptr) return std::nullopt;
        group = (group << 6 | static_cast<unsigned>(digit - Digits)) & 0xFFFF;
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(static_cast<std::uint8_t>(group >> bits));
        }
    }
    return out;
}

// A fraction as a decimal with at most `decimals` places, rounded, without
// trailing zeros: 1 of 3 with 2 places is "33.33", 1 of 2 "50".
std::string decimal(std::int64_t numerator, std::int64_t denominator, int decimals) {
    std::int64_t scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    const std::int64_t scaled = (numerator * scale * 2 + denominator) / (denominator * 2);
    std::string text = std::to_string(scaled / scale);
    std::string fraction = std::to_string(scale + scaled % scale).substr(1);
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    return fraction.empty() ? text : text + "." + fraction;
}

}  // namespace

std::size_t suspendDataLimit(ScormVersion version) { return version == ScormVersion::V1_2 ? 4096 : 64000; }

std::optional<std::string> suspendDataFor(const std::string& savedAnswers) {
    const lzw::Result stream = lzw::encode(reinterpret_cast<const std::uint8_t*>(savedAnswers.data()), savedAnswers.size());
    if (stream.status != lzw::Success) return std::nullopt;
    return std::string(Mark) + base64url(stream.output.get(), stream.length);
}

std::optional<std::string> savedAnswersFrom(std::string_view suspendData) {
    if (suspendData.substr(0, Mark.size()) != Mark) return std::nullopt;
    const std::optional<std::vector<std::uint8_t>> stream = fromBase64url(suspendData.substr(Mark.size()));
    if (!stream || stream->empty()) return std::nullopt;
    const lzw::Result decoded = lzw::decode(stream->data(), stream->size());
    if (decoded.status != lzw::Success) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(decoded.output.get()), decoded.length);
}

std::string sessionTime(ScormVersion version, std::int64_t centiseconds) {
    // 1.2 writes at most four digits of hours: a longer session says 9999 hours.
    const std::int64_t limit = (9999LL * 3600 + 59 * 60 + 59) * 100 + 99;
    const std::int64_t time = version == ScormVersion::V1_2 ? std::min(std::max<std::int64_t>(centiseconds, 0), limit)
                                                            : std::max<std::int64_t>(centiseconds, 0);
    const long long hours = time / 360000, minutes = time / 6000 % 60, seconds = time / 100 % 60, hundredths = time % 100;
    char text[64];
    if (version == ScormVersion::V1_2)
        std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%02lld", hours, minutes, seconds, hundredths);
    else
        std::snprintf(text, sizeof text, "PT%lldH%lldM%lld.%02lldS", hours, minutes, seconds, hundredths);
    return text;
}

const PlatformElements& platformElements(ScormVersion version) {
    static const PlatformElements scorm12{"cmi.core.student_id", nullptr, "cmi.suspend_data"};
    static const PlatformElements scorm2004{"cmi.learner_id", "cmi.entry", "cmi.suspend_data"};
    return version == ScormVersion::V1_2 ? scorm12 : scorm2004;
}

PlatformReport platformReport(ScormVersion version, int rightQuestions, int questions, std::int64_t centiseconds,
                              const std::string& savedAnswers) {
    const bool allRight = questions > 0 && rightQuestions == questions;
    const std::string raw = questions > 0 ? decimal(100LL * rightQuestions, questions, 2) : "0";
    const std::optional<std::string> suspended = suspendDataFor(savedAnswers);
    PlatformReport report;
    report.answersKept = suspended && suspended->size() <= suspendDataLimit(version);
    const std::string suspendData = report.answersKept ? *suspended : "";
    if (version == ScormVersion::V1_2) {
        report.values = {{"cmi.core.score.min", "0"},
                         {"cmi.core.score.max", "100"},
                         {"cmi.core.score.raw", raw},
                         {"cmi.core.lesson_status", allRight ? "passed" : "incomplete"},
                         {"cmi.core.session_time", sessionTime(version, centiseconds)},
                         {"cmi.core.exit", "suspend"},
                         {"cmi.suspend_data", suspendData}};
    } else {
        report.values = {{"cmi.score.min", "0"},
                         {"cmi.score.max", "100"},
                         {"cmi.score.raw", raw},
                         {"cmi.score.scaled", questions > 0 ? decimal(rightQuestions, questions, 7) : "0"},
                         {"cmi.completion_status", allRight ? "completed" : "incomplete"},
                         {"cmi.success_status", allRight ? "passed" : "unknown"},
                         {"cmi.session_time", sessionTime(version, centiseconds)},
                         {"cmi.exit", "suspend"},
                         {"cmi.suspend_data", suspendData}};
    }
    return report;
}

}  // namespace kelvo::web
