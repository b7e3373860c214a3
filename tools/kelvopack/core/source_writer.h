// Turns a quiz read from an executable back into a source and its media
// files, named so that a teacher recognises them, so an existing quiz can be
// edited and built again with the same resources.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/packed_quiz.h"

namespace kelvo::pack {

struct ExtractedQuiz {
    std::string source;                               // UTF-8 TOML
    std::vector<std::pair<std::string, Bytes>> files; // media file name and bytes
};

ExtractedQuiz extractQuizSource(const PackedQuiz& quiz, const std::string& origin);

// A TOML basic string: quotes, backslashes and control characters escaped.
std::string tomlString(const std::string& utf8);

}  // namespace kelvo::pack
