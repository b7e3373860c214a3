// Mistakes in the TOML syntax of a quiz source, told to the teacher in
// French: where they are and what to write instead. The TOML parser's own
// English descriptions are reworded here; one it has no words for is shown
// inside a French sentence.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelvo::pack {

struct SyntaxError {
    int line = 0;
    int column = 0;      // 0 where it would not help
    std::string field;   // "question 2, answer" when the line gives a key
    std::string message;
};

// The TOML parser we use takes a path with undefined behaviour when it meets
// a non-ASCII character outside a string or a comment (an accented key such
// as "réponse", a text without quotes such as Athènes), so such text is
// refused before it is parsed. `text` is UTF-8.
std::optional<SyntaxError> findBareNonAscii(std::string_view text);

// `description` is the parser's ("Error while parsing value: could not
// determine value type"), `line` and `column` where it stopped.
SyntaxError frenchSyntaxError(std::string_view description, int line, int column, std::string_view text);

}  // namespace kelvo::pack
