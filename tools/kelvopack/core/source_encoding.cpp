#include "core/source_encoding.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "core/windows1252.h"

namespace kelvo::pack {

namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view Utf16BigEndianMark = "\xFE\xFF";
constexpr std::string_view SaveAsUtf8 = "enregistrez-le de nouveau en UTF-8";

int lineAt(std::string_view text, std::size_t position) {
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(position), '\n'));
}

std::string hexByte(unsigned char byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

std::size_t firstMalformedUtf8(std::string_view bytes) {
    for (std::size_t position = 0; position < bytes.size();) {
        if (!nextUtf8Character(bytes, position)) return position;
    }
    return std::string_view::npos;
}

// A well-formed sequence of two bytes or more, in a file that is not UTF-8
// as a whole: most likely a piece pasted from a UTF-8 file.
struct MultiByteSequence {
    std::size_t position;
    std::size_t size;
};

std::optional<MultiByteSequence> firstMultiByteUtf8(std::string_view bytes) {
    for (std::size_t position = 0; position < bytes.size(); ++position) {
        if (static_cast<unsigned char>(bytes[position]) < 0x80) continue;
        std::size_t end = position;
        if (nextUtf8Character(bytes, end)) return MultiByteSequence{position, end - position};
    }
    return std::nullopt;
}

bool decodeWindows1252(std::string_view bytes, std::string& text, Diagnostics& diagnostics) {
    const auto undefined = std::find_if(bytes.begin(), bytes.end(), [](char c) { return !isDefinedInWindows1252(static_cast<unsigned char>(c)); });
    if (undefined != bytes.end()) {
        diagnostics.error(lineAt(bytes, static_cast<std::size_t>(undefined - bytes.begin())), "",
                          "l'octet " + hexByte(static_cast<unsigned char>(*undefined)) +
                              " ne correspond à aucun caractère : le fichier n'est ni en UTF-8 ni en Windows-1252 (\xC2\xAB ANSI \xC2\xBB) ; " +
                              std::string(SaveAsUtf8) + ".");
        return false;
    }
    text = fromWindows1252(bytes);
    diagnostics.note("fichier lu comme du Windows-1252 (\xC2\xAB ANSI \xC2\xBB dans le Bloc-notes), puisqu'il n'est pas en UTF-8.");
    if (const auto pasted = firstMultiByteUtf8(bytes)) {
        const std::string_view sequence = bytes.substr(pasted->position, pasted->size);
        const std::string shown = fromWindows1252(sequence);
        diagnostics.warning(lineAt(bytes, pasted->position), "",
                            guillemets(shown) + " est sans doute " + guillemets(sequence) +
                                " enregistré en UTF-8, alors que la ligne " +
                                std::to_string(lineAt(bytes, firstMalformedUtf8(bytes))) +
                                " n'est pas en UTF-8 : le fichier mêle deux encodages et le quiz montrerait " +
                                guillemets(shown) + " ; récrivez ces caractères.");
    }
    return true;
}

bool decodeUtf16(std::string_view bytes, bool bigEndian, std::string& text, Diagnostics& diagnostics) {
    const auto unitAt = [&](std::size_t index) {
        const auto first = static_cast<unsigned char>(bytes[2 * index]);
        const auto second = static_cast<unsigned char>(bytes[2 * index + 1]);
        return static_cast<char16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
    };
    const std::size_t units = bytes.size() / 2;
    int line = 1;
    for (std::size_t index = 0; index < units; ++index) {
        char32_t character = unitAt(index);
        const bool high = character >= 0xD800 && character <= 0xDBFF;
        const bool lowFollows = index + 1 < units && unitAt(index + 1) >= 0xDC00 && unitAt(index + 1) <= 0xDFFF;
        if (high && lowFollows) {
            character = 0x10000 + ((character - 0xD800) << 10) + (unitAt(++index) - 0xDC00);
        } else if (character >= 0xD800 && character <= 0xDFFF) {
            diagnostics.error(line, "", "un caractère UTF-16 est coupé en deux (une moitié de paire seule) : effacez le caractère "
                                        "de cette ligne qui s'affiche mal, ou " + std::string(SaveAsUtf8) + ".");
            return false;
        }
        if (character == U'\n') ++line;
        text += encodeUtf8(character);
    }
    if (bytes.size() % 2 != 0) {
        diagnostics.error(line, "", "le fichier UTF-16 finit par un demi-caractère : il a été coupé ; " + std::string(SaveAsUtf8) + ".");
        return false;
    }
    diagnostics.note(bigEndian ? "fichier lu comme de l'UTF-16 gros-boutiste (\xC2\xAB Unicode big endian \xC2\xBB ou "
                                 "\xC2\xAB UTF-16 BE \xC2\xBB dans le Bloc-notes)."
                               : "fichier lu comme de l'UTF-16 (\xC2\xAB Unicode \xC2\xBB ou \xC2\xAB UTF-16 LE \xC2\xBB "
                                 "dans le Bloc-notes).");
    return true;
}

bool decodeBytes(std::string_view bytes, std::string& text, Diagnostics& diagnostics) {
    if (bytes.substr(0, Utf16LittleEndianMark.size()) == Utf16LittleEndianMark) {
        return decodeUtf16(bytes.substr(Utf16LittleEndianMark.size()), false, text, diagnostics);
    }
    if (bytes.substr(0, Utf16BigEndianMark.size()) == Utf16BigEndianMark) {
        return decodeUtf16(bytes.substr(Utf16BigEndianMark.size()), true, text, diagnostics);
    }
    const bool marked = bytes.substr(0, Utf8Mark.size()) == Utf8Mark;
    if (marked) bytes.remove_prefix(Utf8Mark.size());
    const std::size_t malformed = firstMalformedUtf8(bytes);
    if (malformed == std::string_view::npos) {
        text = bytes;
        return true;
    }
    if (!marked) return decodeWindows1252(bytes, text, diagnostics);
    diagnostics.error(lineAt(bytes, malformed), "",
                      "ces octets ne sont pas de l'UTF-8, alors que le fichier commence par la marque de l'UTF-8 : " +
                          std::string(SaveAsUtf8) + ", ou récrivez les caractères de cette ligne qui s'affichent mal.");
    return false;
}

}  // namespace

bool decodeQuizSource(std::string_view bytes, std::string& text, Diagnostics& diagnostics) {
    text.clear();
    if (!decodeBytes(bytes, text, diagnostics)) return false;
    // Never in a text file; a UTF-16 file without its mark is full of them.
    if (const std::size_t zero = text.find('\0'); zero != std::string::npos) {
        diagnostics.error(lineAt(text, zero), "",
                          "le fichier contient un caractère nul : ce n'est pas un texte, ou bien de l'UTF-16 sans marque "
                          "d'ordre des octets ; " + std::string(SaveAsUtf8) + ".");
        return false;
    }
    return true;
}

}  // namespace kelvo::pack
