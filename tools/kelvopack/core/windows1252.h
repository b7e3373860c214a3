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

// Every byte has a character: the five bytes Windows-1252 leaves undefined
// come back as the C1 controls of the same value, as Windows converts them,
// so extracting and building again gives the same bytes.
std::string fromWindows1252(std::string_view ansi);

// "« ★ » (U+2605)" for messages.
std::string describeCharacter(char32_t character);

std::string encodeUtf8(char32_t character);

}  // namespace kelvo::pack
