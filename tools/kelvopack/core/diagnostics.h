// Problems found in a quiz source, each tied to the file, the line and the
// field, in French for the teachers who write the sources.
#pragma once

#include <string>
#include <vector>

namespace kelvo::pack {

struct Diagnostic {
    bool isError = true;
    int line = 0;          // 0 when no line applies (the file as a whole)
    std::string field;     // "title", "question 3, answer", ...
    std::string message;
};

class Diagnostics {
public:
    explicit Diagnostics(std::string fileName) : fileName(std::move(fileName)) {}

    void error(int line, std::string field, std::string message);
    void warning(int line, std::string field, std::string message);
    bool hasErrors() const;
    int errorCount() const;
    const std::vector<Diagnostic>& all() const { return items; }

    // "quiz.toml, ligne 12 (question 3, answer) : message"
    std::string format(const Diagnostic& diagnostic) const;

    const std::string fileName;

private:
    std::vector<Diagnostic> items;
};

}  // namespace kelvo::pack
