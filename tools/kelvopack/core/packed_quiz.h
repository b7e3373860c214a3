// A quiz as the player holds it: Windows-1252 texts, numeric kind and reveal
// mode, the colour bytes, and the media files' bytes. Validation turns a
// source into one; the payload writer and the extractor work on it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvo::pack {

using Bytes = std::vector<std::uint8_t>;

struct PackedQuestion {
    std::string answer;
    std::string secondAnswer;   // used when the quiz has two answers per question
    std::string prompt;
    std::string revealText;
    Bytes picture;              // "IMG" 400 + n: the picture, or the clip of an audio or video quiz
    Bytes revealPicture;        // "IMG" 10400 + n
};

struct PackedQuiz {
    int kind = 0;                // QuizKind
    int revealMode = 0;          // RevealMode
    int answersPerQuestion = 1;
    std::string title;
    std::string author;
    std::string explanation;
    std::string firstCaption;
    std::string secondCaption;
    std::uint8_t red = 90;
    std::uint8_t green = 95;
    std::uint8_t blue = 150;
    std::vector<std::string> codes;   // entry k-1: the code for k right questions
    std::vector<PackedQuestion> questions;
};

}  // namespace kelvo::pack
