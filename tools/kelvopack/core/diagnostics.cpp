#include "core/diagnostics.h"

#include <algorithm>

namespace kelvo::pack {

void Diagnostics::error(int line, std::string field, std::string message) {
    error(line, 0, std::move(field), std::move(message));
}

void Diagnostics::error(int line, int column, std::string field, std::string message) {
    items.push_back({Severity::Error, line, std::move(field), std::move(message), column});
}

void Diagnostics::warning(int line, std::string field, std::string message) {
    items.push_back({Severity::Warning, line, std::move(field), std::move(message)});
}

void Diagnostics::note(std::string message) { items.push_back({Severity::Note, 0, "", std::move(message)}); }

bool Diagnostics::hasErrors() const { return errorCount() > 0; }

int Diagnostics::errorCount() const {
    return static_cast<int>(std::count_if(items.begin(), items.end(), [](const Diagnostic& d) { return d.isError(); }));
}

std::string Diagnostics::format(const Diagnostic& diagnostic) const {
    std::string text = fileName;
    if (diagnostic.line > 0) text += ", ligne " + std::to_string(diagnostic.line);
    if (diagnostic.line > 0 && diagnostic.column > 0) text += ", colonne " + std::to_string(diagnostic.column);
    if (!diagnostic.field.empty()) text += " (" + diagnostic.field + ")";
    constexpr const char* Labels[] = {" : erreur : ", " : attention : ", " : remarque : "};
    return text + Labels[static_cast<int>(diagnostic.severity)] + diagnostic.message;
}

std::string guillemets(std::string_view text) { return "\xC2\xAB " + std::string(text) + " \xC2\xBB"; }

}  // namespace kelvo::pack
