// Checks a quiz source against everything the player needs and turns it into
// the quiz the payloads are made from. Every rule that would make a built
// quiz show wrong texts, never accept a right answer or lose a picture is an
// error here, so nothing is built from a source that fails.
#pragma once

#include <string>

#include "core/diagnostics.h"
#include "core/packed_quiz.h"
#include "core/quiz_source.h"

namespace kelvo::pack {

// Names used in sources for QuizKind and RevealMode values.
const char* kindName(int kind);
const char* revealModeName(int mode);

// Fills `quiz` (texts in Windows-1252, media bytes read from the files) and
// reports every problem found; returns false when there is an error.
bool compileQuiz(const QuizSource& source, PackedQuiz& quiz, Diagnostics& diagnostics);

// Parsing, validation and the payload size limits of the codec, in one go:
// what `validate` and `build` run before anything is written.
bool loadAndCompileQuiz(const std::filesystem::path& file, PackedQuiz& quiz, Diagnostics& diagnostics);

}  // namespace kelvo::pack
