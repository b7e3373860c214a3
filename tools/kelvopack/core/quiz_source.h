// The quiz source: one TOML file with the media files beside it.
// Parsing keeps every value with its line, so that validation can name the
// line of each problem; it checks only the shape (keys, types), the rules of
// the player are checked by validation.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/diagnostics.h"

namespace kelvo::pack {

// Key names, shared by the parser, the writer of extracted sources and the
// documentation's example.
namespace SourceKeys {
constexpr const char* Title = "title";
constexpr const char* Author = "author";
constexpr const char* Explanation = "explanation";
constexpr const char* Kind = "kind";
constexpr const char* Reveal = "reveal";
constexpr const char* Colour = "colour";
constexpr const char* Captions = "captions";
constexpr const char* Codes = "codes";
constexpr const char* KeepPictures = "keep_pictures";
constexpr const char* Question = "question";
constexpr const char* Answer = "answer";
constexpr const char* SecondAnswer = "second_answer";
constexpr const char* Prompt = "prompt";
constexpr const char* RevealText = "reveal_text";
constexpr const char* Picture = "picture";
constexpr const char* RevealPicture = "reveal_picture";
constexpr const char* Clip = "clip";
}  // namespace SourceKeys

struct SourceValue {
    std::string text;   // UTF-8
    int line = 0;
    bool present = false;
};

struct QuestionSource {
    int line = 0;       // of its [[question]] header
    SourceValue answer;
    SourceValue secondAnswer;
    SourceValue prompt;
    SourceValue revealText;
    SourceValue picture;
    SourceValue revealPicture;
    SourceValue clip;
};

struct QuizSource {
    std::filesystem::path folder;   // media paths are relative to it
    SourceValue title;
    SourceValue author;
    SourceValue explanation;
    SourceValue kind;
    SourceValue reveal;
    SourceValue colour;
    std::vector<SourceValue> captions;
    int captionsLine = 0;
    std::vector<SourceValue> codes;
    int codesLine = 0;
    bool keepPictures = false;      // store BMP, JPEG and GIF files as they are
    std::vector<QuestionSource> questions;
};

// Parses the bytes of a TOML file, in any encoding decodeQuizSource reads;
// problems go to `diagnostics`. Returns false when the text could not be
// read as a quiz at all.
bool parseQuizSource(std::string_view bytes, const std::filesystem::path& folder, QuizSource& source,
                     Diagnostics& diagnostics);

// Reads and parses a file. The file name shown in messages is the one given.
bool readQuizSource(const std::filesystem::path& file, QuizSource& source, Diagnostics& diagnostics);

}  // namespace kelvo::pack
