// Comparing one typed answer with the expected one: normalisation, the three
// string measures and the graded verdict word. Texts are byte strings of at
// most 259 bytes (the 260-byte data model); only bytes are compared, with no
// locale or multibyte handling.
#pragma once

namespace kelvo {

// The verdict words as the player shows them (Windows-1252). A verdict label's
// text is the only record of a verdict, so these are compared byte for byte.
namespace Verdicts {
inline constexpr char Empty[] = "?";
inline constexpr char Right[] = "BRAVO";
inline constexpr char Anagram[] = "Anagramme";
inline constexpr char AlmostRight[] = "Quasiment";
inline constexpr char Close[] = "Presque";
inline constexpr char TooLong[] = "Trop long";
inline constexpr char TooShort[] = "Trop court";
inline constexpr char NotFar[] = "pas loin";
inline constexpr char GoodIdea[] = "y a de l'id\xE9" "e";
inline constexpr char Wrong[] = "FAUX";
}  // namespace Verdicts

// Results of findContainment.
namespace Containment {
constexpr int ExpectedInsideTyped = 2;    // typed text holds the expected answer and maybe more
constexpr int TypedInsideExpected = -2;   // typed text is a piece of a longer expected answer
constexpr int NotFound = 0;
constexpr int EmptyExpected = 1;          // the shorter (expected) text is empty
constexpr int EmptyTyped = -1;            // the shorter (typed) text is empty
}  // namespace Containment

// Upper-cases the bytes a to z in place; every other byte (accents too) stays.
void upperAscii(char* text);

// Cuts the blanks (0x20) at both ends and upper-cases a to z, in place.
// Blanks inside and every other byte, tab included, stay.
void normaliseAnswer(char* text);

// Unit-cost Levenshtein distance of two texts, computed in a fixed local
// 260 x 260 table. Bytes past the 259th are not looked at.
int editDistance(const char* a, const char* b);

// True when each text is a rearrangement of the other's bytes (blanks count).
bool isAnagram(const char* a, const char* b);

// Forward-only scan for the shorter text inside the longer one; see the
// Containment values. An occurrence overlapping a broken run is missed
// ('AAB' is not found in 'AAAB'): the verdicts are graded on that scan.
int findContainment(const char* expected, const char* typed);

// The verdict for an upper-cased expected answer and a normalised typed text.
// Returns one of the Verdicts texts (static storage).
const char* classifyAnswer(const char* expected, const char* typed);

// Judging one typed answer, the one way the player, the page and kelvopack do
// it: the expected text upper-cased, the typed one normalised, both cut to
// 259 bytes, then classified.
const char* judgeTypedAnswer(const char* expected, const char* typed);
// Whether a typed text is nothing once normalised: blanks only, or empty.
bool holdsOnlyBlanks(const char* text);
// Whether the two, prepared the same way, are the same bytes: a question is
// complete on this, so an empty answer left empty counts as given.
bool typedAnswerMatches(const char* expected, const char* typed);

}  // namespace kelvo
