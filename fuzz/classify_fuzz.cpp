// judgeTypedAnswer on any two byte texts (split at the first zero byte): it
// gives one of the ten verdict words, "BRAVO" exactly when the normalised
// texts are equal, and "?" exactly when nothing was typed.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "checking/verdicts.h"
#include "quiz/text.h"

using namespace kelvo;

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

bool isVerdict(const char* verdict) {
    for (const char* word : {Verdicts::Empty, Verdicts::Right, Verdicts::Anagram, Verdicts::AlmostRight,
                             Verdicts::Close, Verdicts::TooLong, Verdicts::TooShort, Verdicts::NotFar,
                             Verdicts::GoodIdea, Verdicts::Wrong})
        if (std::strcmp(verdict, word) == 0) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    const void* zero = std::memchr(data, 0, size);
    std::size_t split = zero ? static_cast<const std::uint8_t*>(zero) - data : size / 2;
    char expected[TextSize];
    char typed[TextSize];
    copyText(expected, bytes, split);
    copyText(typed, bytes + split + (zero ? 1 : 0), size - split - (zero ? 1 : 0));
    const char* verdict = judgeTypedAnswer(expected, typed);
    require(isVerdict(verdict));
    const bool matches = typedAnswerMatches(expected, typed);
    normaliseAnswer(typed);
    require((std::strcmp(verdict, Verdicts::Empty) == 0) == (typed[0] == '\0'));
    if (typed[0] != '\0') require((std::strcmp(verdict, Verdicts::Right) == 0) == matches);
    return 0;
}
