#include "core/answer_check.h"

#include <istream>
#include <ostream>

#include "checking/verdicts.h"
#include "core/windows1252.h"
#include "quiz/text.h"

namespace kelvo::pack {

namespace {

bool toAnsiText(const std::string& utf8, char (&text)[TextSize], std::string& error) {
    const AnsiConversion converted = toWindows1252(utf8);
    if (converted.invalidUtf8) {
        error = "texte qui n'est pas de l'UTF-8 valide";
        return false;
    }
    if (converted.unmappable) {
        error = "le caractère " + describeCharacter(*converted.unmappable) + " n'existe pas en Windows-1252";
        return false;
    }
    copyText(text, converted.text.c_str(), converted.text.size());
    return true;
}

}  // namespace

bool checkAnswer(const std::string& expected, const std::string& typed, std::string& verdict, std::string& error) {
    char expectedText[TextSize];
    char typedText[TextSize];
    if (!toAnsiText(expected, expectedText, error) || !toAnsiText(typed, typedText, error)) return false;
    verdict = fromWindows1252(judgeTypedAnswer(expectedText, typedText));
    return true;
}

int checkAnswerLines(std::istream& in, std::ostream& out, std::ostream& err) {
    int failures = 0;
    int lineNumber = 0;
    std::string line;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t tab = line.find('\t');
        std::string verdict;
        std::string error = "tabulation attendue entre la réponse attendue et la réponse tapée";
        if (tab == std::string::npos || !checkAnswer(line.substr(0, tab), line.substr(tab + 1), verdict, error)) {
            err << "ligne " << lineNumber << " : " << error << ".\n";
            ++failures;
        }
        out << verdict << '\n';
    }
    return failures;
}

}  // namespace kelvo::pack
