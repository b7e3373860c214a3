// `kelvopack check`: the verdict the player would give, from its own
// checking code, for answers written in UTF-8.
#pragma once

#include <iosfwd>
#include <string>

namespace kelvo::pack {

// Compares as an answer box does: the expected answer upper-cased but not
// trimmed, the typed one cut of its blanks and upper-cased, both read as
// at most 259 bytes. Fails only on a character Windows-1252 cannot hold.
bool checkAnswer(const std::string& expected, const std::string& typed, std::string& verdict, std::string& error);

// Lines "EXPECTED<TAB>TYPED" in, one verdict per line out (an empty line for
// a line that cannot be checked, reported on `err`). Returns the number of
// such lines.
int checkAnswerLines(std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace kelvo::pack
