#include "core/syntax_errors.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <vector>

#include "core/diagnostics.h"
#include "core/quiz_source.h"
#include "core/windows1252.h"

namespace kelvo::pack {

namespace {

using Rewording = std::optional<SyntaxError>;

bool startsWith(std::string_view text, std::string_view start) { return text.substr(0, start.size()) == start; }

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// Columns count characters, as the parser's do.
int columnOf(std::string_view line, std::size_t index) {
    const std::string_view before = line.substr(0, index);
    return 1 + static_cast<int>(std::count_if(before.begin(), before.end(),
                                              [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The lines of the source, without their line ends.
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The byte where a column starts, or the line's end.
std::size_t indexOfColumn(std::string_view line, int column) {
    std::size_t index = 0;
    for (int current = 1; index < line.size(); ++index) {
        if ((static_cast<unsigned char>(line[index]) & 0xC0) == 0x80) continue;
        if (current++ == column) break;
    }
    return index;
}

bool isBareKey(std::string_view word) {
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-';
    });
}

constexpr std::array QuestionKeys = {SourceKeys::Answer,  SourceKeys::SecondAnswer,  SourceKeys::Prompt, SourceKeys::RevealText,
                                     SourceKeys::Picture, SourceKeys::RevealPicture, SourceKeys::Clip};
constexpr std::array QuizKeys = {SourceKeys::Title,    SourceKeys::Author, SourceKeys::Explanation,  SourceKeys::Kind,
                                 SourceKeys::Reveal,   SourceKeys::Colour, SourceKeys::Captions,     SourceKeys::Codes,
                                 SourceKeys::KeepPictures, SourceKeys::Question};

template <std::size_t Size>
bool isOneOf(std::string_view key, const std::array<const char*, Size>& keys) {
    return std::any_of(keys.begin(), keys.end(), [key](const char* name) { return key == name; });
}

bool isQuestionKey(std::string_view key) { return isOneOf(key, QuestionKeys); }
bool isKnownKey(std::string_view key) { return isQuestionKey(key) || isOneOf(key, QuizKeys); }

// A line read as "key = value", as far as it goes.
struct Entry {
    std::string_view key;            // empty unless a bare key comes before "="
    std::string_view value;          // after "=", trimmed; the whole line without one
    std::size_t equals = std::string_view::npos;
    int valueColumn = 0;
};

Entry entryOf(std::string_view line) {
    Entry entry;
    entry.equals = line.find('=');
    const std::size_t valueStart = entry.equals == std::string_view::npos ? 0 : entry.equals + 1;
    entry.value = trimmed(line.substr(valueStart));
    entry.valueColumn = entry.value.empty() ? 0 : columnOf(line, static_cast<std::size_t>(entry.value.data() - line.data()));
    if (entry.equals != std::string_view::npos && isBareKey(trimmed(line.substr(0, entry.equals)))) {
        entry.key = trimmed(line.substr(0, entry.equals));
    }
    return entry;
}

// A comment after a text without quotes is not part of the text.
std::string_view withoutComment(std::string_view value) {
    for (std::size_t at = 1; at < value.size(); ++at) {
        if (value[at] == '#' && (value[at - 1] == ' ' || value[at - 1] == '\t')) return trimmed(value.substr(0, at));
    }
    return value;
}

std::string quotedText(std::string_view content) {
    std::string text = "\"";
    for (char c : content) {
        if (c == '"' || c == '\\') text += '\\';
        text += c;
    }
    return text + "\"";
}

// ["A", B] becomes ["A", "B"]: every element of the list in quotes.
std::string quotedList(std::string_view value) {
    value = withoutComment(value);
    const bool opens = startsWith(value, "[");
    const bool closes = !value.empty() && value.back() == ']';
    if (opens) value.remove_prefix(1);
    if (closes) value.remove_suffix(1);
    std::string list;
    while (!trimmed(value).empty()) {
        const std::size_t comma = value.find(',');
        const std::string_view element = trimmed(value.substr(0, comma));
        if (!list.empty()) list += ", ";
        list += startsWith(element, "\"") || startsWith(element, "'") ? std::string(element) : quotedText(element);
        value = comma == std::string_view::npos ? std::string_view{} : value.substr(comma + 1);
    }
    return (opens ? "[" : "") + list + (closes ? "]" : "");
}

std::string assignment(std::string_view key, const std::string& value) {
    return key.empty() ? value : std::string(key) + " = " + value;
}

// The source as TOML sees it: strings, comments and the rest.
struct TextScan {
    std::size_t bareAt = std::string_view::npos;   // the first non-ASCII byte outside strings and comments
    int bareLine = 0;
    bool closedOnLine = false;   // at bareAt: a quoted text ended before it on its line
    int listDepth = 0;           // at bareAt: brackets still open, so inside a list
    int openTextLine = 0;        // where a text still open at the end began
    int openListLine = 0;        // where a list still open at the end began
};

TextScan scanTexts(std::string_view text) {
    enum class State { Code, Comment, Basic, Literal, MultiBasic, MultiLiteral } state = State::Code;
    TextScan scan;
    int line = 1;
    const auto startsAt = [&](std::size_t at, std::string_view token) { return text.substr(at, token.size()) == token; };
    const auto open = [&](State text) {
        state = text;
        scan.openTextLine = line;
    };
    const auto close = [&] {
        state = State::Code;
        scan.closedOnLine = true;
        scan.openTextLine = 0;
    };
    // An escape skips the next character, which may end a line.
    const auto skipEscaped = [&](std::size_t& at) {
        if (++at < text.size() && text[at] == '\n') ++line;
    };
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '\n') {
            ++line;
            scan.closedOnLine = false;
        }
        switch (state) {
            case State::Code:
                if (static_cast<unsigned char>(c) >= 0x80) {
                    scan.bareAt = at;
                    scan.bareLine = line;
                    return scan;
                }
                if (c == '#') state = State::Comment;
                else if (startsAt(at, "\"\"\"")) { open(State::MultiBasic); at += 2; }
                else if (startsAt(at, "'''")) { open(State::MultiLiteral); at += 2; }
                else if (c == '"') open(State::Basic);
                else if (c == '\'') open(State::Literal);
                else if (c == '[' && scan.listDepth++ == 0) scan.openListLine = line;
                else if (c == ']') --scan.listDepth;
                break;
            case State::Comment:
                if (c == '\n') state = State::Code;
                break;
            case State::Basic:
                if (c == '\\') skipEscaped(at);
                else if (c == '"') close();
                else if (c == '\n') state = State::Code;   // left open: the parser says so
                break;
            case State::Literal:
                if (c == '\'') close();
                else if (c == '\n') state = State::Code;
                break;
            case State::MultiBasic:
                if (c == '\\') skipEscaped(at);
                else if (startsAt(at, "\"\"\"")) { close(); at += 2; }
                break;
            case State::MultiLiteral:
                if (startsAt(at, "'''")) { close(); at += 2; }
                break;
        }
    }
    if (state == State::Code || state == State::Comment) scan.openTextLine = 0;
    if (scan.listDepth <= 0) scan.openListLine = 0;
    return scan;
}

struct Place {
    std::string_view text;                 // the whole source
    std::vector<std::string_view> lines;
    int line = 0;
    int column = 0;                        // the parser's
    std::string_view lineText;
    Entry entry;
    int question = 0;                      // 0 above the first question

    std::string_view lineAt(int number) const {
        return number >= 1 && number <= static_cast<int>(lines.size()) ? lines[number - 1] : std::string_view{};
    }

    SyntaxError error(std::string message, int shownColumn = 0, bool withField = true) const {
        std::string field;
        if (withField && question > 0) field = "question " + std::to_string(question);
        if (withField && !entry.key.empty()) field += (field.empty() ? "" : ", ") + std::string(entry.key);
        return {line, shownColumn, field, std::move(message)};
    }
};

Place placeOf(std::string_view text, int line, int column) {
    Place place;
    place.text = text;
    place.lines = linesOf(text);
    place.line = line;
    place.column = column;
    place.lineText = place.lineAt(line);
    place.entry = entryOf(place.lineText);
    // The question a line belongs to: the number of [[question]] lines above it.
    for (int above = 1; above < line; ++above) {
        if (startsWith(trimmed(place.lineAt(above)), "[[")) ++place.question;
    }
    return place;
}

std::string_view headerName(std::string_view line) {
    std::string_view name = trimmed(line);
    while (!name.empty() && (name.front() == '[' || name.front() == ' ')) name.remove_prefix(1);
    return trimmed(name.substr(0, name.find(']')));
}

// The line above `line` where `name` was first given, as a key of the same
// table or as a table heading; 0 when none is found.
int earlierLine(const Place& place, std::string_view name, bool sameTableOnly) {
    for (int above = place.line - 1; above >= 1; --above) {
        const std::string_view candidate = place.lineAt(above);
        const bool heading = startsWith(trimmed(candidate), "[");
        if (heading && headerName(candidate) == name) return above;
        if (heading && sameTableOnly) return 0;
        if (!heading && entryOf(candidate).key == name) return above;
    }
    return 0;
}

std::string alsoOnLine(int line) { return line > 0 ? " (déjà ligne " + std::to_string(line) + ")" : ""; }

// The parser's description: "Error while parsing <scope>: <reason>".
struct ParserWords {
    std::string_view scope;
    std::string_view reason;
};

ParserWords wordsOf(std::string_view description) {
    constexpr std::string_view Lead = "Error while parsing ";
    const std::size_t colon = description.find(": ");
    if (!startsWith(description, Lead) || colon == std::string_view::npos) return {{}, description};
    return {description.substr(Lead.size(), colon - Lead.size()), description.substr(colon + 2)};
}

// The name a description quotes: 'kind' in "cannot redefine existing string 'kind'".
std::string_view quotedName(std::string_view reason) {
    const std::size_t first = reason.find('\'');
    const std::size_t last = reason.rfind('\'');
    if (first == std::string_view::npos || last <= first) return {};
    return reason.substr(first + 1, last - first - 1);
}

SyntaxError textWithoutQuotes(const Place& place, int listColumn) {
    const Entry& entry = place.entry;
    if (entry.key == SourceKeys::KeepPictures) {
        return place.error("écrivez true ou false, en minuscules et sans guillemets : keep_pictures = true", entry.valueColumn);
    }
    if (startsWith(entry.value, "[") || entry.equals == std::string_view::npos) {
        return place.error("écrivez chaque texte de la liste entre guillemets : " + assignment(entry.key, quotedList(entry.value)),
                           listColumn);
    }
    return place.error("écrivez le texte entre guillemets : " + assignment(entry.key, quotedText(withoutComment(entry.value))),
                       entry.valueColumn);
}

// Quotes inside a quoted text end it: "Qui a dit "Eureka" ?".
SyntaxError textGoesOn(const Place& place, std::size_t nextIndex) {
    const std::string_view value = withoutComment(place.entry.value);
    const char quote = value.front();
    const std::size_t closing = nextIndex == 0 ? std::string_view::npos : place.lineText.rfind(quote, nextIndex - 1);
    const int column = closing == std::string_view::npos ? 0 : columnOf(place.lineText, closing);
    const std::string where = (quote == '"' ? "au guillemet de la colonne " : "à l'apostrophe de la colonne ") + std::to_string(column);
    if (value.size() < 2 || value.back() != quote) {
        return place.error("le texte se termine " + where +
                               ", mais la ligne continue : mettez tout le texte entre les guillemets, ou commencez un "
                               "commentaire par #",
                           column);
    }
    const std::string_view content = value.substr(1, value.size() - 2);
    if (quote == '\'') {
        return place.error("le texte s'arrête " + where +
                               " : pour une apostrophe dans un texte, écrivez le texte entre guillemets : " +
                               assignment(place.entry.key, quotedText(content)),
                           column);
    }
    std::string escaped;
    for (std::size_t at = 0; at < content.size(); ++at) {
        if (content[at] == '"' && (at == 0 || content[at - 1] != '\\')) escaped += '\\';
        escaped += content[at];
    }
    return place.error("le texte s'arrête " + where + " : pour un guillemet dans un texte, écrivez \\\" (ou "
                           "\xC2\xAB \xC2\xBB) : " + assignment(place.entry.key, "\"" + escaped + "\""),
                       column);
}

bool isValueScope(std::string_view scope) {
    constexpr std::array<std::string_view, 12> Scopes = {
        "value", "boolean", "floating-point", "decimal integer", "binary integer", "octal integer", "hexadecimal integer",
        "hexadecimal floating-point", "date", "time", "date-time", "date-time offset"};
    return std::find(Scopes.begin(), Scopes.end(), scope) != Scopes.end();
}

bool isQuote(char c) { return c == '"' || c == '\''; }

// answer = chaton, answer = 12 chats, codes = [A, B]; and answer = "Paris" Rome.
Rewording unquotedValue(const ParserWords& words, const Place& place) {
    const std::string_view value = place.entry.value;
    const bool afterValue = words.scope == "key-value pair" && startsWith(words.reason, "expected a comment or whitespace");
    if (value.empty() || startsWith(value, "{") || (!isValueScope(words.scope) && !afterValue)) return std::nullopt;
    // A line of a list written over several lines has no "=".
    const bool listLine = place.entry.equals == std::string_view::npos && !afterValue;
    if (!isQuote(value.front()) || listLine) return textWithoutQuotes(place, place.column);
    if (!afterValue) return std::nullopt;
    return textGoesOn(place, indexOfColumn(place.lineText, place.column));
}

Rewording openText(const ParserWords& words, const Place& place) {
    const bool endOfFile = words.reason == "encountered end-of-file";
    if (words.scope != "string" && words.scope != "literal string") return std::nullopt;
    if (!endOfFile && words.reason.find("control characters") == std::string_view::npos) return std::nullopt;
    const bool lineEnds = place.column > columnOf(place.lineText, place.lineText.size()) - 1;
    if (!endOfFile && !lineEnds) {
        return place.error("un caractère de contrôle (invisible) est dans ce texte : effacez-le ; une tabulation s'écrit \\t",
                           place.column);
    }
    const std::string_view value = place.entry.value;
    const bool tripled = startsWith(value, "\"\"\"") || startsWith(value, "'''");
    const bool singleLine = !tripled && (!endOfFile || place.lineText.find_first_of("\"'") != std::string_view::npos);
    if (!singleLine) {
        const int opened = scanTexts(place.text).openTextLine;
        return placeOf(place.text, opened > 0 ? opened : place.line, 0)
            .error("ce texte n'est jamais refermé : fermez-le par les guillemets qui l'ouvrent (\"\"\" pour un texte de "
                   "plusieurs lignes)",
                   0, opened > 0);
    }
    const char quote = words.scope == "string" ? '"' : '\'';
    if (value.empty() || value.front() != quote) {
        // Left open, the text runs to the end of the line: its quote is the line's last.
        return place.error(quote == '"' ? "ce guillemet n'est pas refermé sur sa ligne : ajoutez-en un à la fin du texte"
                                        : "cette apostrophe n'est pas refermée sur sa ligne : ajoutez-en une à la fin du texte",
                           columnOf(place.lineText, place.lineText.rfind(quote)));
    }
    const std::string hint = assignment(place.entry.key, quotedText(withoutComment(value.substr(1))));
    if (quote == '\'') {
        return place.error("l'apostrophe qui ouvre ce texte n'est pas refermée sur sa ligne : écrivez le texte entre guillemets : " + hint,
                           place.entry.valueColumn);
    }
    return place.error("le guillemet qui ouvre ce texte n'est pas refermé sur sa ligne : ajoutez-en un à la fin : " + hint,
                       place.entry.valueColumn);
}

bool isFileKey(std::string_view key) {
    return key == SourceKeys::Picture || key == SourceKeys::RevealPicture || key == SourceKeys::Clip;
}

// "C:\dossier": a backslash starts an escape in a quoted text.
Rewording unknownEscape(const ParserWords& words, const Place& place) {
    if (words.scope == "unicode scalar sequence") {
        return place.error("après \\u viennent 4 chiffres hexadécimaux (8 après \\U), par exemple \\u00E9 pour é ; une barre "
                           "oblique inverse s'écrit \\\\",
                           place.column);
    }
    const bool unknown = startsWith(words.reason, "unknown escape sequence") || startsWith(words.reason, "escape sequence '\\");
    if (words.scope != "string" || !unknown) return std::nullopt;
    const bool file = isFileKey(place.entry.key);
    std::string mended;
    const std::string_view value = place.entry.value;
    for (std::size_t at = 0; at < value.size(); ++at) {
        const bool escape = value[at] == '\\' && at + 1 < value.size();
        if (!file && escape && std::string_view("btnfr\"\\uU").find(value[at + 1]) != std::string_view::npos) {
            mended += value.substr(at++, 2);
        } else if (value[at] == '\\') {
            mended += file ? "/" : "\\\\";
        } else {
            mended += value[at];
        }
    }
    const std::string instead = file ? "dans un chemin de fichier, écrivez / à la place : " : "une barre oblique inverse s'écrit \\\\ : ";
    // The parser shows a line end after the backslash as \\n.
    const std::string_view sequence = quotedName(words.reason);
    const std::string shown = sequence.size() == 2 ? std::string(sequence) : "\\ en fin de ligne";
    return place.error(shown + " n'est pas permis dans un texte entre guillemets ; " + instead +
                           assignment(place.entry.key, mended),
                       std::max(place.column - 1, 1));
}

Rewording repeatedKey(const ParserWords& words, const Place& place) {
    const std::string_view key = quotedName(words.reason);
    if (words.scope != "key-value pair" || !startsWith(words.reason, "cannot redefine existing") || key.empty()) return std::nullopt;
    const int earlier = earlierLine(place, key, true);
    std::string message = "la clé " + std::string(key) + " est écrite deux fois" + (place.question > 0 ? " dans cette question" : "") +
                          alsoOnLine(earlier) + " : gardez-en une seule";
    if (isQuestionKey(key)) message += ", ou commencez la question suivante par une ligne [[question]]";
    return place.error(message);
}

std::string questionHeadings(int singleBracketLine) {
    std::string text = "chaque question commence par [[question]], avec deux crochets de chaque côté";
    if (singleBracketLine > 0) text += " : la ligne " + std::to_string(singleBracketLine) + " n'en a qu'un";
    return text;
}

// [question] where [[question]] belongs: the first such line, up to the error.
int firstSingleBracketQuestion(const Place& place) {
    for (int number = 1; number <= place.line; ++number) {
        const std::string_view line = trimmed(place.lineAt(number));
        if (startsWith(line, "[") && !startsWith(line, "[[") && headerName(line) == SourceKeys::Question) return number;
    }
    return 0;
}

Rewording repeatedHeading(const ParserWords& words, const Place& place) {
    const std::string_view name = quotedName(words.reason);
    if (words.scope != "table header" || !startsWith(words.reason, "cannot redefine existing") || name.empty()) return std::nullopt;
    const int earlier = earlierLine(place, name, false);
    if (earlier > 0 && !startsWith(trimmed(place.lineAt(earlier)), "[")) {
        return place.error(guillemets(name) + " est déjà une clé, ligne " + std::to_string(earlier) +
                               " : un nom ne sert qu'une fois", 0, false);
    }
    if (name == SourceKeys::Question) return place.error(questionHeadings(firstSingleBracketQuestion(place)), 0, false);
    return place.error("l'en-tête [" + std::string(name) + "] est écrit deux fois" + alsoOnLine(earlier) + " : gardez-en un seul",
                       0, false);
}

// A line of text that is not "key = value": a sentence, say.
SyntaxError notKeyValue(const Place& place) {
    return place.error("cette ligne n'a pas la forme clé = valeur : un texte s'écrit après sa clé, entre guillemets, par exemple "
                       "prompt = " + quotedText(withoutComment(trimmed(place.lineText))),
                       0, false);
}

Rewording missingEquals(const ParserWords& words, const Place& place) {
    if (words.scope != "key-value pair" || !startsWith(words.reason, "expected '='")) return std::nullopt;
    const std::string_view line = trimmed(place.lineText);
    const std::size_t wordEnd = std::min(line.size(), line.find_first_of(" \t:\"'"));
    const std::string_view word = line.substr(0, wordEnd);
    std::string_view rest = trimmed(line.substr(wordEnd));
    const std::size_t equals = place.lineText.find('=');
    if (equals < place.lineText.find_first_of("\"'")) {
        std::string key(trimmed(place.lineText.substr(0, equals)));
        std::replace(key.begin(), key.end(), ' ', '_');
        return place.error("une clé s'écrit d'un seul tenant, sans espace : " + key + " = " + std::string(place.entry.value), 0, false);
    }
    if (!isKnownKey(word)) return notKeyValue(place);
    if (startsWith(rest, ":")) rest = trimmed(rest.substr(1));
    const bool written = rest.empty() || isQuote(rest.front()) || startsWith(rest, "[") || rest == "true" || rest == "false" ||
                         std::all_of(rest.begin(), rest.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
    const std::string value = rest.empty() ? "\"...\"" : written ? std::string(rest) : quotedText(withoutComment(rest));
    Place named = place;
    named.entry.key = word;
    return named.error("il manque le signe = entre la clé et sa valeur : " + std::string(word) + " = " + value, place.column);
}

Rewording missingValue(const ParserWords& words, const Place& place) {
    if (words.scope != "key-value pair" || !startsWith(words.reason, "expected value")) return std::nullopt;
    const std::string_view key = place.entry.key;
    const std::string example = key == SourceKeys::KeepPictures                          ? "true"
                                : key == SourceKeys::Codes || key == SourceKeys::Captions ? "[\"...\", \"...\"]"
                                                                                         : "\"...\"";
    return place.error("la valeur manque après le signe = : " + assignment(key, example));
}

Rewording headingMistake(const ParserWords& words, const Place& place) {
    if (words.scope != "table header") return std::nullopt;
    const std::string_view name = headerName(place.lineText);
    const bool twoBrackets = std::count(place.lineText.begin(), place.lineText.end(), '[') > 1 || name == SourceKeys::Question;
    const std::string heading = twoBrackets ? "[[" + std::string(name) + "]]" : "[" + std::string(name) + "]";
    if (startsWith(words.reason, "expected ']'")) return place.error("crochet non refermé : écrivez " + heading, 0, false);
    if (words.reason.find("brackets must be contiguous") != std::string_view::npos) {
        return place.error("écrivez les crochets sans espace entre eux : " + heading, 0, false);
    }
    if (startsWith(words.reason, "expected a comment or whitespace")) {
        return place.error(heading + " reste seul sur sa ligne (un commentaire après # peut le suivre) : passez à la ligne avant " +
                               guillemets(trimmed(place.lineText.substr(place.lineText.rfind(']') + 1))),
                           place.column, false);
    }
    return std::nullopt;
}

Rewording listMistake(const ParserWords& words, const Place& place) {
    if (words.scope != "array") return std::nullopt;
    const std::string example = std::string(place.entry.key.empty() ? SourceKeys::Codes : place.entry.key) + " = [\"A\", \"B\"]";
    if (startsWith(words.reason, "expected comma or closing ']'")) {
        return place.error("séparez les éléments de la liste par des virgules et fermez-la par ] : " + example, place.column);
    }
    if (words.reason == "encountered end-of-file") {
        const int opened = scanTexts(place.text).openListLine;
        return placeOf(place.text, opened > 0 ? opened : place.line, 0)
            .error("la liste n'est jamais refermée : terminez-la par ] : " + example, 0, opened > 0);
    }
    if (startsWith(words.reason, "expected value or closing ']', saw comma")) {
        return place.error("virgule en trop dans la liste, une seule sépare deux éléments : " + example, place.column);
    }
    return std::nullopt;
}

Rewording strayLineStart(const ParserWords& words, const Place& place) {
    if (words.scope != "root table" || !startsWith(words.reason, "expected keys, tables, whitespace or comments")) return std::nullopt;
    return place.error("une ligne commence par une clé (title, answer, prompt...), par [[question]] ou par # pour un "
                       "commentaire : effacez ce qui précède la clé",
                       place.column, false);
}

// A no-break space, a thin space, a byte order mark: blanks to the eye, but
// not to TOML.
bool isInvisibleBlank(char32_t c) { return c == 0xA0 || c == 0xFEFF || (c >= 0x2000 && c <= 0x200B) || c == 0x202F; }

}  // namespace

std::optional<SyntaxError> findBareNonAscii(std::string_view text) {
    const TextScan scan = scanTexts(text);
    if (scan.bareAt == std::string_view::npos) return std::nullopt;
    const std::size_t lineStart = text.rfind('\n', scan.bareAt) == std::string_view::npos ? 0 : text.rfind('\n', scan.bareAt) + 1;
    const std::size_t index = scan.bareAt - lineStart;
    Place place = placeOf(text, scan.bareLine, 0);
    place.column = columnOf(place.lineText, index);
    const Entry& entry = place.entry;
    const bool afterEquals = entry.equals != std::string_view::npos && index > entry.equals;
    const bool afterText = scan.closedOnLine && afterEquals && !entry.value.empty() && isQuote(entry.value.front());
    if (!afterText && (afterEquals || (entry.equals == std::string_view::npos && scan.listDepth > 0))) {
        return textWithoutQuotes(place, place.column);
    }
    if (entry.equals == std::string_view::npos) return notKeyValue(place);
    std::size_t end = scan.bareAt;
    const char32_t character = nextUtf8Character(text, end).value_or(0xFFFD);
    if (isInvisibleBlank(character)) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(character));
        return place.error(std::string("caractère invisible (") + code +
                               ") hors d'un texte entre guillemets, sans doute collé depuis un traitement de texte : effacez-le "
                               "ou remplacez-le par une espace ordinaire",
                           place.column, false);
    }
    if (afterText) return textGoesOn(place, index);
    return place.error("caractère " + describeCharacter(character) +
                           " dans une clé : les clés s'écrivent en anglais et sans accents (answer, prompt...)",
                       place.column, false);
}

SyntaxError frenchSyntaxError(std::string_view description, int line, int column, std::string_view text) {
    const ParserWords words = wordsOf(description);
    const Place place = placeOf(text, line, column);
    using Rule = Rewording (*)(const ParserWords&, const Place&);
    constexpr Rule Rules[] = {unquotedValue, openText,       unknownEscape, repeatedKey, repeatedHeading,
                              missingEquals, headingMistake, missingValue,  listMistake, strayLineStart};
    for (const Rule rule : Rules) {
        if (Rewording reworded = rule(words, place)) return *reworded;
    }
    return place.error("le fichier n'est pas du TOML correct (le lecteur TOML dit : " + guillemets(description) +
                           ") : comparez cette ligne avec l'exemple du mode d'emploi",
                       column, false);
}

}  // namespace kelvo::pack
