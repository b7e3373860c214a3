#include "core/windows1252.h"

#include <gtest/gtest.h>

namespace kelvo::pack {
namespace {

// The bytes French needs outside Latin-1 (euro sign, typographic
// apostrophe, oe ligature) and Latin-1 letters and guillemets; every defined
// byte survives the round trip, and the five undefined ones come back as C1
// controls, which have no byte.
TEST(Windows1252, ConvertsFrenchTextToSingleBytesAndBack) {
    EXPECT_EQ(fromWindows1252("10 \x80 l\x92\xE9t\xE9 \x9C" "uf \xAB\xC7\xE0\xBB"),
              "10 \xE2\x82\xAC l\xE2\x80\x99\xC3\xA9t\xC3\xA9 \xC5\x93uf \xC2\xAB\xC3\x87\xC3\xA0\xC2\xBB");
    std::string defined;
    for (int byte = 1; byte < 256; ++byte)
        if (byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 && byte != 0x9D) defined.push_back(char(byte));
    const AnsiConversion back = toWindows1252(fromWindows1252(defined));
    EXPECT_FALSE(back.unmappable);
    EXPECT_EQ(back.text, defined);
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
