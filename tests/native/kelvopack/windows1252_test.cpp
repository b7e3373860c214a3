#include "core/windows1252.h"

#include <gtest/gtest.h>

namespace kelvo::pack {
namespace {

struct ConversionCase {
    const char* why;
    const char* utf8;
    const char* ansi;
};

TEST(Windows1252, ConvertsFrenchTextToSingleBytes) {
    const ConversionCase cases[] = {
        {"ASCII stays", "Paris 42", "Paris 42"},
        {"Latin-1 letters are one byte each", "\xC3\xA9l\xC3\xA8ve \xC3\x87\xC3\xA0", "\xE9l\xE8ve \xC7\xE0"},
        {"the typographic apostrophe lives at 0x92", "l\xE2\x80\x99\xC3\xA9t\xC3\xA9", "l\x92\xE9t\xE9"},
        {"the euro sign lives at 0x80", "10 \xE2\x82\xAC", "10 \x80"},
        {"oe ligatures and guillemets", "\xC5\x93uf \xC2\xAB\xC2\xBB", "\x9C" "uf \xAB\xBB"},
        {"non-breaking space", "a\xC2\xA0" "b", "a\xA0" "b"},
    };
    for (const auto& row : cases) {
        const AnsiConversion converted = toWindows1252(row.utf8);
        EXPECT_FALSE(converted.unmappable) << row.why;
        EXPECT_EQ(converted.text, row.ansi) << row.why;
        EXPECT_EQ(fromWindows1252(row.ansi), row.utf8) << row.why << " (back to UTF-8)";
    }
}

TEST(Windows1252, ReportsTheFirstCharacterItCannotHold) {
    const AnsiConversion star = toWindows1252("a\xE2\x98\x85" "b\xE6\xBC\xA2");   // ★ then 漢
    ASSERT_TRUE(star.unmappable);
    EXPECT_EQ(*star.unmappable, U'\u2605');
    EXPECT_EQ(describeCharacter(*star.unmappable), "\xC2\xAB \xE2\x98\x85 \xC2\xBB (U+2605)");

    // U+0081 is a C1 control, not the undefined byte 0x81 of Windows-1252.
    EXPECT_TRUE(toWindows1252("\xC2\x81").unmappable);
    EXPECT_TRUE(toWindows1252("\xF0\x9F\x98\x80").unmappable);   // an emoji
}

TEST(Windows1252, RefusesMalformedUtf8) {
    for (const char* malformed : {"\xC3", "\xE2\x82", "\xC0\xAF", "\xED\xA0\x80", "\xFF"}) {
        EXPECT_TRUE(toWindows1252(malformed).invalidUtf8) << malformed;
    }
}

TEST(Windows1252, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
    const std::string utf8 = fromWindows1252(all);
    const AnsiConversion back = toWindows1252(utf8);
    // The five undefined bytes come back as C1 controls, which have no byte.
    EXPECT_TRUE(back.unmappable);
    std::string defined;
    for (char c : all) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 && byte != 0x9D) defined.push_back(c);
    }
    EXPECT_EQ(toWindows1252(fromWindows1252(defined)).text, defined);
}

}  // namespace
}  // namespace kelvo::pack
