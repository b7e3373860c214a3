#include "checking/verdicts.h"

#include <cstdint>
#include <cstring>

#include "quiz/text.h"

namespace kelvo {

namespace {

// Length within the data model, so every index stays inside a 260 table.
int boundedLength(const char* text) {
    int length = 0;
    while (length < MaxTextLength && text[length] != '\0') ++length;
    return length;
}

int smallestOf(int a, int b, int c) {
    int smallest = a < b ? a : b;
    return smallest < c ? smallest : c;
}

}  // namespace

void upperAscii(char* text) {
    for (; *text != '\0'; ++text)
        if (*text >= 'a' && *text <= 'z') *text = static_cast<char>(*text - ('a' - 'A'));
}

void normaliseAnswer(char* text) {
    std::size_t end = std::strlen(text);
    while (end > 0 && text[end - 1] == ' ') --end;
    text[end] = '\0';
    std::size_t start = 0;
    while (text[start] == ' ') ++start;
    std::memmove(text, text + start, end - start + 1);
    upperAscii(text);
}

int editDistance(const char* a, const char* b) {
    const int m = boundedLength(a);
    const int n = boundedLength(b);
    if (m == 0) return n;
    if (n == 0) return m;

    // Fixed size, no heap: an evaluation runs on every Enter and focus change.
    std::int32_t table[TextSize][TextSize];
    for (int r = 0; r <= m; ++r) table[r][0] = r;
    for (int c = 0; c <= n; ++c) table[0][c] = c;
    for (int r = 1; r <= m; ++r) {
        for (int c = 1; c <= n; ++c) {
            const int substitution = a[r - 1] == b[c - 1] ? 0 : 1;
            table[r][c] = smallestOf(table[r - 1][c] + 1, table[r][c - 1] + 1,
                                     table[r - 1][c - 1] + substitution);
        }
    }
    return table[m][n];
}

bool isAnagram(const char* a, const char* b) {
    // Sorted copies at distance 0 are the same multiset of bytes: compare the
    // byte counts directly.
    int counts[256] = {};
    const int lengthA = boundedLength(a);
    const int lengthB = boundedLength(b);
    if (lengthA != lengthB) return false;
    for (int i = 0; i < lengthA; ++i) ++counts[static_cast<unsigned char>(a[i])];
    for (int i = 0; i < lengthB; ++i) --counts[static_cast<unsigned char>(b[i])];
    for (int count : counts)
        if (count != 0) return false;
    return true;
}

int findContainment(const char* expected, const char* typed) {
    const int expectedLength = boundedLength(expected);
    const int typedLength = boundedLength(typed);
    const bool typedIsShorter = typedLength < expectedLength;
    const char* shorter = typedIsShorter ? typed : expected;
    const char* longer = typedIsShorter ? expected : typed;
    const int shorterLength = typedIsShorter ? typedLength : expectedLength;
    const int longerLength = typedIsShorter ? expectedLength : typedLength;
    const int sign = typedIsShorter ? -1 : 1;

    if (shorterLength == 0) return sign;

    int j = 0;
    while (true) {
        while (j < longerLength && longer[j] != shorter[0]) ++j;
        if (j >= longerLength) return Containment::NotFound;
        int k = 0;
        while (k < shorterLength && j < longerLength && longer[j] == shorter[k]) {
            ++j;
            ++k;
        }
        if (k == shorterLength) return 2 * sign;
        // The byte that broke the run is tried as a new start; j never goes back.
    }
}

const char* classifyAnswer(const char* expected, const char* typed) {
    const int typedLength = boundedLength(typed);
    if (typedLength == 0) return Verdicts::Empty;

    const int expectedLength = boundedLength(expected);
    const int distance = editDistance(expected, typed);
    if (distance == 0) return Verdicts::Right;
    if (isAnagram(expected, typed)) return Verdicts::Anagram;
    if (distance == 1) return Verdicts::AlmostRight;
    if (distance == 2) return Verdicts::Close;

    const int containment = findContainment(expected, typed);
    if (containment == Containment::ExpectedInsideTyped) return Verdicts::TooLong;
    if (containment == Containment::TypedInsideExpected) {
        // Percentages of the expected length, compared exactly in integers.
        if (expectedLength <= 9) return Verdicts::Wrong;
        if (10 * typedLength > 7 * expectedLength) return Verdicts::TooShort;  // above 70 %
        if (2 * typedLength > expectedLength) return Verdicts::NotFar;         // above 50 %
        return Verdicts::Wrong;
    }

    // Similarity 100 (L - d) / L above 80 %, L being the longer length.
    const int longerLength = typedLength >= expectedLength ? typedLength : expectedLength;
    if (longerLength > 5 * distance) return Verdicts::GoodIdea;
    return Verdicts::Wrong;
}

namespace {

struct PreparedAnswer {
    PreparedAnswer(const char* expectedText, const char* typedText) {
        copyText(expected, expectedText);
        upperAscii(expected);
        copyText(typed, typedText);
        normaliseAnswer(typed);
    }
    char expected[TextSize];
    char typed[TextSize];
};

}  // namespace

const char* judgeTypedAnswer(const char* expected, const char* typed) {
    const PreparedAnswer answer(expected, typed);
    return classifyAnswer(answer.expected, answer.typed);
}

bool holdsOnlyBlanks(const char* text) {
    return PreparedAnswer("", text).typed[0] == '\0';
}

bool typedAnswerMatches(const char* expected, const char* typed) {
    const PreparedAnswer answer(expected, typed);
    return std::strcmp(answer.expected, answer.typed) == 0;
}

}  // namespace kelvo
