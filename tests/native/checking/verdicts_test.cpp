#include "checking/verdicts.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvo {
namespace {

const std::string Twenty = "ABCDEFGHIJKLMNOPQRST";

TEST(ClassifyAnswer, FollowsTheRulesInOrder) {
    const struct { const char* why; std::string expected, typed; const char* verdict; } rows[] = {
        {"blanks around and case do not matter", "CHIEN", "  chien  ", Verdicts::Right},
        {"both sides are upper-cased", "chien", "chien", Verdicts::Right},
        {"blanks inside are kept and compared", "LE CHAT", "le chat", Verdicts::Right},
        {"a missing inner blank is one edit", "LE CHAT", "lechat", Verdicts::AlmostRight},
        {"the expected text is not trimmed", "CHIEN ", "chien", Verdicts::AlmostRight},
        {"accented letters are not upper-cased", "\xC9L\xC8VE", "\xE9l\xE8ve", Verdicts::Close},
        {"an accented byte is a different letter", "CAF\xC9", "caf\xE9", Verdicts::AlmostRight},
        {"nothing typed", "CHIEN", "", Verdicts::Empty},
        {"blanks only count as nothing typed", "CHIEN", "   ", Verdicts::Empty},
        {"blanks only against an empty answer still say nothing typed", "", "  ", Verdicts::Empty},
        {"a swap is an anagram before it is two edits", "CHIEN", "CHINE", Verdicts::Anagram},
        {"a full reversal is an anagram", "CHIEN", "neihc", Verdicts::Anagram},
        {"one letter missing", "CHATS", "chat", Verdicts::AlmostRight},
        {"one letter too many comes before containment", "CHAT", "chats", Verdicts::AlmostRight},
        {"two edits", "MAISON", "MASONS", Verdicts::Close},
        {"the expected answer inside a longer text", "CHAT", "LE GRAND CHAT", Verdicts::TooLong},
        {"the scan restarts after a broken run", "CHAT", "CACHAT NOIR", Verdicts::TooLong},
        {"the byte that breaks a run starts the next one", "ABC", "ABABC XYZ", Verdicts::TooLong},
        {"an overlapping occurrence is missed", "AAB", "AAABXYZ", Verdicts::Wrong},
        {"p exactly 70 is not above 70", "ABCDEFGHIJ", "ABCDEFG", Verdicts::NotFar},
        {"eight of ten letters are two edits", "ABCDEFGHIJ", "ABCDEFGH", Verdicts::Close},
        {"p 60", "ABCDEFGHIJ", "ABCDEF", Verdicts::NotFar},
        {"p exactly 50 is not above 50", "ABCDEFGHIJ", "ABCDE", Verdicts::Wrong},
        {"nine letters or fewer are never too short", "ABCDEFGHI", "ABCDEF", Verdicts::Wrong},
        {"p 75", Twenty, "ABCDEFGHIJKLMNO", Verdicts::TooShort},
        {"a piece from the middle", Twenty, "defghijklmnopqr", Verdicts::TooShort},
        {"s 81.25 is above 80", "ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMXYZ", Verdicts::GoodIdea},
        {"s exactly 80 is not above 80", "ABCDEFGHIJKLMNO", "ABCDEFGHIJKLXYZ", Verdicts::Wrong},
        {"similarity measured on the longer typed text", "ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNXYZ", Verdicts::GoodIdea},
        {"an empty expected answer is one edit from one letter", "", "A", Verdicts::AlmostRight},
        {"an empty expected answer against three letters", "", "ABC", Verdicts::Wrong},
        {"a tab inside is a letter", "CHAT", "ch\tat", Verdicts::AlmostRight},
        {"a trailing tab is not trimmed", "CHAT", "chat\t", Verdicts::AlmostRight},
        {"only a to z are upper-cased", "AZ{`@", "az{`@", Verdicts::Right},
        {"longest texts, equal", std::string(259, 'A'), std::string(259, 'a'), Verdicts::Right},
        {"longest texts, one edit", std::string(259, 'A'), std::string(258, 'A') + "B", Verdicts::AlmostRight},
        {"longest texts, nothing alike", std::string(259, 'A'), std::string(259, 'B'), Verdicts::Wrong},
        {"a long piece of the longest answer", std::string(259, 'A'), std::string(200, 'A'), Verdicts::TooShort},
    };
    for (const auto& row : rows) EXPECT_STREQ(judgeTypedAnswer(row.expected.c_str(), row.typed.c_str()), row.verdict) << row.why;
}

}  // namespace
}  // namespace kelvo
