#include "core/diagnostics.h"

#include <algorithm>

namespace kelvo::pack {

void Diagnostics::error(int line, std::string field, std::string message) {
    items.push_back({true, line, std::move(field), std::move(message)});
}

void Diagnostics::warning(int line, std::string field, std::string message) {
    items.push_back({false, line, std::move(field), std::move(message)});
}

bool Diagnostics::hasErrors() const { return errorCount() > 0; }

int Diagnostics::errorCount() const {
    return static_cast<int>(std::count_if(items.begin(), items.end(), [](const Diagnostic& d) { return d.isError; }));
}

std::string Diagnostics::format(const Diagnostic& diagnostic) const {
    std::string text = fileName;
    if (diagnostic.line > 0) text += ", ligne " + std::to_string(diagnostic.line);
    if (!diagnostic.field.empty()) text += " (" + diagnostic.field + ")";
    text += diagnostic.isError ? " : erreur : " : " : attention : ";
    return text + diagnostic.message;
}

}  // namespace kelvo::pack
