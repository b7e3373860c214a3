// A quiz as the player holds it: the stored texts, numeric kind and reveal
// mode and the colour bytes (the payload layout's own records), with the
// media files' bytes. Validation turns a source into one; the payload writer
// and the extractor work on it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "quiz/quiz_payload.h"

namespace kelvo::pack {

using Bytes = std::vector<std::uint8_t>;

struct PackedQuestion : payload::QuestionTexts {
    Bytes picture;              // "IMG" 400 + n: the picture, or the clip of an audio or video quiz
    Bytes revealPicture;        // "IMG" 10400 + n
};

struct PackedQuiz : payload::QuizHeader {
    std::vector<std::string> codes;   // entry k-1: the code for k right questions
    std::vector<PackedQuestion> questions;
};

}  // namespace kelvo::pack
