#include "core/windows1252.h"

#include <array>
#include <cstdio>

namespace kelvo::pack {

namespace {

// Characters of the bytes 0x80 to 0x9F; zero where Windows-1252 has none.
constexpr std::array<char32_t, 32> HighControlBlock = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

std::optional<unsigned char> byteFor(char32_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) {
        return static_cast<unsigned char>(character);
    }
    for (std::size_t i = 0; i < HighControlBlock.size(); ++i) {
        if (HighControlBlock[i] != 0 && HighControlBlock[i] == character) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<char32_t> nextUtf8Character(std::string_view utf8, std::size_t& position) {
    const auto lead = static_cast<unsigned char>(utf8[position]);
    int followers = 0;
    char32_t character = 0;
    if (lead < 0x80) {
        character = lead;
    } else if ((lead & 0xE0) == 0xC0) {
        followers = 1;
        character = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        followers = 2;
        character = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        followers = 3;
        character = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (position + followers >= utf8.size() && followers > 0) return std::nullopt;
    for (int i = 1; i <= followers; ++i) {
        const auto follower = static_cast<unsigned char>(utf8[position + i]);
        if ((follower & 0xC0) != 0x80) return std::nullopt;
        character = (character << 6) | (follower & 0x3F);
    }
    static constexpr char32_t Smallest[] = {0, 0x80, 0x800, 0x10000};
    if (character < Smallest[followers] || character > 0x10FFFF ||
        (character >= 0xD800 && character <= 0xDFFF)) {
        return std::nullopt;
    }
    position += followers + 1;
    return character;
}

bool isDefinedInWindows1252(unsigned char byte) { return byte < 0x80 || byte >= 0xA0 || HighControlBlock[byte - 0x80] != 0; }

AnsiConversion toWindows1252(std::string_view utf8) {
    AnsiConversion result;
    std::size_t position = 0;
    while (position < utf8.size()) {
        const auto character = nextUtf8Character(utf8, position);
        if (!character) {
            result.invalidUtf8 = true;
            return result;
        }
        const auto byte = byteFor(*character);
        if (!byte) {
            if (!result.unmappable) result.unmappable = *character;
            continue;
        }
        result.text.push_back(static_cast<char>(*byte));
    }
    return result;
}

std::string windows1252FromUtf16(std::u16string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        const bool surrogate = unit >= 0xD800 && unit <= 0xDFFF;
        // A surrogate pair is one character beyond the first plane: one "?".
        if (unit <= 0xDBFF && surrogate && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
        const auto byte = surrogate ? std::nullopt : byteFor(unit);
        out.push_back(byte ? static_cast<char>(*byte) : '?');
    }
    return out;
}

std::string encodeUtf8(char32_t character) {
    std::string out;
    if (character < 0x80) {
        out.push_back(static_cast<char>(character));
    } else if (character < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (character >> 6)));
        out.push_back(static_cast<char>(0x80 | (character & 0x3F)));
    } else if (character < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (character >> 12)));
        out.push_back(static_cast<char>(0x80 | ((character >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (character & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (character >> 18)));
        out.push_back(static_cast<char>(0x80 | ((character >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((character >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (character & 0x3F)));
    }
    return out;
}

std::string fromWindows1252(std::string_view ansi) {
    std::string out;
    for (char c : ansi) {
        const auto byte = static_cast<unsigned char>(c);
        char32_t character = byte;
        if (byte >= 0x80 && byte < 0xA0 && HighControlBlock[byte - 0x80] != 0) {
            character = HighControlBlock[byte - 0x80];
        }
        out += encodeUtf8(character);
    }
    return out;
}

std::string describeCharacter(char32_t character) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(character));
    if (character < 0x20 || (character >= 0x7F && character < 0xA0)) return code;
    return "\xC2\xAB " + encodeUtf8(character) + " \xC2\xBB (" + code + ")";
}

}  // namespace kelvo::pack
