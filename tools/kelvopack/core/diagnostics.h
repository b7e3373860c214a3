// Problems found in a quiz source, each tied to the file, the line and the
// field, in French for the teachers who write the sources.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvo::pack {

enum class Severity { Error, Warning, Note };

struct Diagnostic {
    Severity severity = Severity::Error;
    int line = 0;          // 0 when no line applies (the file as a whole)
    std::string field;     // "title", "question 3, answer", ...
    std::string message;
    int column = 0;        // counted in characters from 1; 0 where it would not help

    bool isError() const { return severity == Severity::Error; }
};

class Diagnostics {
public:
    explicit Diagnostics(std::string fileName) : fileName(std::move(fileName)) {}

    void error(int line, std::string field, std::string message);
    void error(int line, int column, std::string field, std::string message);
    void warning(int line, std::string field, std::string message);
    // Neither wrong nor doubtful: how kelvopack understood the file.
    void note(std::string message);
    bool hasErrors() const;
    int errorCount() const;
    const std::vector<Diagnostic>& all() const { return items; }

    // "quiz.toml, ligne 12, colonne 9 (question 3, answer) : erreur : message"
    std::string format(const Diagnostic& diagnostic) const;

    const std::string fileName;

private:
    std::vector<Diagnostic> items;
};

// "« text »": how the messages quote a name or a piece of the source.
std::string guillemets(std::string_view text);

}  // namespace kelvo::pack
