#include "core/windows1252.h"

#include <gtest/gtest.h>

namespace kelvo::pack {
namespace {

TEST(Windows1252, ConvertsFrenchTextToSingleBytesAndBack) {
    const struct {
        const char* why;
        const char* utf8;
        const char* ansi;
    } cases[] = {
        {"ASCII stays", "Paris 42", "Paris 42"},
        {"Latin-1 letters are one byte each", "\xC3\xA9l\xC3\xA8ve \xC3\x87\xC3\xA0", "\xE9l\xE8ve \xC7\xE0"},
        {"the typographic apostrophe lives at 0x92", "l\xE2\x80\x99\xC3\xA9t\xC3\xA9", "l\x92\xE9t\xE9"},
        {"the euro sign lives at 0x80", "10 \xE2\x82\xAC", "10 \x80"},
        {"oe ligatures and guillemets", "\xC5\x93uf \xC2\xAB\xC2\xBB", "\x9C" "uf \xAB\xBB"},
    };
    for (const auto& row : cases) {
        const AnsiConversion converted = toWindows1252(row.utf8);
        EXPECT_FALSE(converted.unmappable) << row.why;
        EXPECT_EQ(converted.text, row.ansi) << row.why;
        EXPECT_EQ(fromWindows1252(row.ansi), row.utf8) << row.why << " (back to UTF-8)";
    }
    // Every defined byte survives the round trip; the five undefined ones
    // come back as C1 controls, which have no byte.
    std::string defined;
    for (int byte = 1; byte < 256; ++byte)
        if (byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 && byte != 0x9D) defined.push_back(char(byte));
    EXPECT_EQ(toWindows1252(fromWindows1252(defined)).text, defined);
    EXPECT_TRUE(toWindows1252(fromWindows1252("\x81")).unmappable);
}

TEST(Windows1252, ReportsTheFirstCharacterItCannotHoldAndMalformedUtf8) {
    const AnsiConversion star = toWindows1252("a\xE2\x98\x85" "b\xE6\xBC\xA2");  // star, then a CJK character
    ASSERT_TRUE(star.unmappable);
    EXPECT_EQ(describeCharacter(*star.unmappable), "\xC2\xAB \xE2\x98\x85 \xC2\xBB (U+2605)");
    EXPECT_TRUE(toWindows1252("\xF0\x9F\x98\x80").unmappable);  // an emoji
    for (const char* malformed : {"\xC3", "\xE2\x82", "\xC0\xAF", "\xED\xA0\x80", "\xFF"})
        EXPECT_TRUE(toWindows1252(malformed).invalidUtf8) << malformed;
}

}  // namespace
}  // namespace kelvo::pack
