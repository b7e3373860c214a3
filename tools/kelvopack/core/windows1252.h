// Conversion between the UTF-8 of quiz sources and the Windows-1252 bytes the
// player shows. The player compares and displays bytes, so a character that
// Windows-1252 cannot hold must be refused, never replaced.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelvo::pack {

struct AnsiConversion {
    std::string text;                     // Windows-1252 bytes
    std::optional<char32_t> unmappable;   // the first character that has no byte
    bool invalidUtf8 = false;
};

AnsiConversion toWindows1252(std::string_view utf8);

// Text as a browser holds it (UTF-16) turned into the bytes the player's
// boxes would hold: every character Windows-1252 lacks becomes "?", as
// Windows does when such a character is typed into an ANSI box.
std::string windows1252FromUtf16(std::u16string_view text);

// Every byte has a character: the five bytes Windows-1252 leaves undefined
// come back as the C1 controls of the same value, as Windows converts them,
// so extracting and building again gives the same bytes.
std::string fromWindows1252(std::string_view ansi);

// "« ★ » (U+2605)" for messages.
std::string describeCharacter(char32_t character);

std::string encodeUtf8(char32_t character);

// Decodes the UTF-8 sequence at `position` and moves past it; nullopt, not
// moving, for a malformed one (overlong, surrogate, cut short).
std::optional<char32_t> nextUtf8Character(std::string_view utf8, std::size_t& position);

// False for the five bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D) that stand for no
// character.
bool isDefinedInWindows1252(unsigned char byte);

}  // namespace kelvo::pack
