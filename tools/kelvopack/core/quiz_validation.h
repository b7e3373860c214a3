// Checks a quiz source against everything the player needs and turns it into
// the quiz the payloads are made from. Every rule that would make a built
// quiz show wrong texts, never accept a right answer or lose a picture is an
// error here, so nothing is built from a source that fails.
#pragma once

#include <string>
#include <vector>

#include "core/diagnostics.h"
#include "core/packed_quiz.h"
#include "core/picture_preparation.h"
#include "core/quiz_source.h"

namespace kelvo::pack {

// Names used in sources for QuizKind and RevealMode values.
const char* kindName(int kind);
const char* revealModeName(int mode);

// How the named files become stored pictures; preparePictureFiles when
// none is given. The studio gives one that remembers what it prepared, since
// it checks the quiz at every change.
using PicturePreparer = std::function<std::vector<PreparedPicture>(const std::vector<std::filesystem::path>& files,
                                                                   bool keepOriginals, const PreparationProgress& progress)>;

struct PictureSettings {
    bool keepOriginals = false;      // --keep-pictures (the source's keep_pictures asks the same)
    PreparationProgress progress;    // while the pictures are prepared
    PicturePreparer prepare;
};

// What became of each picture, for --verbose and the summary.
struct PictureReport {
    struct Line {
        int line;
        std::string field;
        std::string file;
        std::string description;
    };
    std::vector<Line> lines;
    std::size_t originalBytes = 0;
    std::size_t storedBytes = 0;
};

// Fills `quiz` (texts in Windows-1252, clips as read, pictures prepared) and
// reports every problem found; returns false when there is an error.
bool compileQuiz(const QuizSource& source, PackedQuiz& quiz, Diagnostics& diagnostics, const PictureSettings& settings = {},
                 PictureReport* report = nullptr);

// Parsing, validation and the payload size limits of the codec, in one go:
// what `validate` and `build` run before anything is written.
bool loadAndCompileQuiz(const std::filesystem::path& file, PackedQuiz& quiz, Diagnostics& diagnostics,
                        const PictureSettings& settings = {}, PictureReport* report = nullptr);

}  // namespace kelvo::pack
