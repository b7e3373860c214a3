#define TOML_ENABLE_WINDOWS_COMPAT 0
#include "core/quiz_source.h"

#include <toml++/toml.h>

#include <fstream>
#include <iterator>
#include <map>

#include "core/source_encoding.h"
#include "core/syntax_errors.h"

namespace kelvo::pack {

namespace {

int lineOf(const toml::node& node) { return static_cast<int>(node.source().begin.line); }

// Texts are strings; whole numbers are taken as their digits, since an
// answer such as a year is naturally written without quotes.
bool readText(const toml::node& node, SourceValue& value) {
    value.line = lineOf(node);
    value.present = true;
    if (const auto* text = node.as_string()) {
        value.text = text->get();
        return true;
    }
    if (const auto* number = node.as_integer()) {
        value.text = std::to_string(number->get());
        return true;
    }
    return false;
}

void readTextKey(const toml::node& node, const std::string& field, SourceValue& value, Diagnostics& diagnostics) {
    if (!readText(node, value)) {
        diagnostics.error(lineOf(node), field, "la valeur doit être un texte entre guillemets, par exemple \"Paris\".");
    }
}

void readTextList(const toml::node& node, const std::string& field, std::vector<SourceValue>& values, int& line,
                  Diagnostics& diagnostics) {
    line = lineOf(node);
    const auto* array = node.as_array();
    if (array == nullptr) {
        diagnostics.error(line, field, "la valeur doit être une liste de textes entre crochets, par exemple [\"A\", \"B\"].");
        return;
    }
    for (const toml::node& element : *array) {
        SourceValue value;
        readTextKey(element, field + " n\xC2\xB0 " + std::to_string(values.size() + 1), value, diagnostics);
        values.push_back(value);
    }
}

void reportUnknownKey(const std::string& key, int line, const std::string& where, Diagnostics& diagnostics) {
    diagnostics.error(line, where, "clé inconnue \xC2\xAB " + key +
                                       " \xC2\xBB (vérifiez l'orthographe : les clés sont écrites en anglais, sans accent).");
}

QuestionSource readQuestion(const toml::table& table, int number, int line, Diagnostics& diagnostics) {
    QuestionSource question;
    question.line = line;
    const std::string where = "question " + std::to_string(number);
    const std::map<std::string, SourceValue QuestionSource::*> keys = {
        {SourceKeys::Answer, &QuestionSource::answer},
        {SourceKeys::SecondAnswer, &QuestionSource::secondAnswer},
        {SourceKeys::Prompt, &QuestionSource::prompt},
        {SourceKeys::RevealText, &QuestionSource::revealText},
        {SourceKeys::Picture, &QuestionSource::picture},
        {SourceKeys::RevealPicture, &QuestionSource::revealPicture},
        {SourceKeys::Clip, &QuestionSource::clip},
    };
    for (const auto& [key, node] : table) {
        const std::string name(key.str());
        const auto known = keys.find(name);
        if (known == keys.end()) {
            reportUnknownKey(name, lineOf(node), where, diagnostics);
            continue;
        }
        readTextKey(node, where + ", " + name, question.*(known->second), diagnostics);
    }
    return question;
}

void readQuestions(const toml::node& node, QuizSource& source, Diagnostics& diagnostics) {
    const auto* array = node.as_array();
    if (array == nullptr) {
        diagnostics.error(lineOf(node), SourceKeys::Question,
                          "chaque question commence par une ligne [[question]], avec deux crochets de chaque côté.");
        return;
    }
    for (const toml::node& element : *array) {
        const int number = static_cast<int>(source.questions.size()) + 1;
        const auto* table = element.as_table();
        if (table == nullptr) {
            diagnostics.error(lineOf(element), "question " + std::to_string(number),
                              "chaque question commence par une ligne [[question]], avec deux crochets de chaque côté.");
            continue;
        }
        source.questions.push_back(readQuestion(*table, number, lineOf(element), diagnostics));
    }
}

void report(const SyntaxError& error, Diagnostics& diagnostics) {
    diagnostics.error(error.line, error.column, error.field, error.message + ".");
}

}  // namespace

bool parseQuizSource(std::string_view bytes, const std::filesystem::path& folder, QuizSource& source,
                     Diagnostics& diagnostics) {
    source = QuizSource{};
    source.folder = folder;
    std::string text;
    if (!decodeQuizSource(bytes, text, diagnostics)) return false;
    if (const auto bare = findBareNonAscii(text)) {
        report(*bare, diagnostics);
        return false;
    }
    toml::table document;
    try {
        document = toml::parse(text, std::string_view(diagnostics.fileName));
    } catch (const toml::parse_error& failure) {
        report(frenchSyntaxError(failure.description(), static_cast<int>(failure.source().begin.line),
                                 static_cast<int>(failure.source().begin.column), text),
               diagnostics);
        return false;
    }
    const std::map<std::string, SourceValue QuizSource::*> texts = {
        {SourceKeys::Title, &QuizSource::title},       {SourceKeys::Author, &QuizSource::author},
        {SourceKeys::Explanation, &QuizSource::explanation}, {SourceKeys::Kind, &QuizSource::kind},
        {SourceKeys::Reveal, &QuizSource::reveal},     {SourceKeys::Colour, &QuizSource::colour},
    };
    for (const auto& [key, node] : document) {
        const std::string name(key.str());
        if (const auto known = texts.find(name); known != texts.end()) {
            readTextKey(node, name, source.*(known->second), diagnostics);
        } else if (name == SourceKeys::Captions) {
            readTextList(node, name, source.captions, source.captionsLine, diagnostics);
        } else if (name == SourceKeys::Codes) {
            readTextList(node, name, source.codes, source.codesLine, diagnostics);
        } else if (name == SourceKeys::KeepPictures) {
            if (const auto* flag = node.as_boolean()) source.keepPictures = flag->get();
            else diagnostics.error(lineOf(node), name, "la valeur doit être true ou false, sans guillemets.");
        } else if (name == SourceKeys::Question) {
            readQuestions(node, source, diagnostics);
        } else {
            reportUnknownKey(name, lineOf(node), "", diagnostics);
        }
    }
    return true;
}

bool readQuizSource(const std::filesystem::path& file, QuizSource& source, Diagnostics& diagnostics) {
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        diagnostics.error(0, "", "impossible d'ouvrir le fichier.");
        return false;
    }
    const std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    return parseQuizSource(bytes, file.parent_path(), source, diagnostics);
}

}  // namespace kelvo::pack
