// The two PATCH resources of a quiz: resource 104 (kind, counts, header
// texts, questions, reveal texts, colour) and resource 105 (one code line per
// score), both compressed with the player's LZW codec, plus the "IMG"
// pictures and clips, as resources of an executable. The byte layout itself
// is the player's (quiz/quiz_payload.h), so extract and build stay exact
// inverses of what the player reads.
#pragma once

#include <optional>
#include <string>

#include "core/packed_quiz.h"
#include "core/resource_set.h"

namespace kelvo::pack {

Bytes quizPayload(const PackedQuiz& quiz);
// One line "code\r\n" per question; scores without a code get an empty line.
Bytes codesPayload(const PackedQuiz& quiz);

// Compressed 104 and 105 and the media resources, all in the neutral
// language. Fails (with a French message) when a payload is too large for
// the codec.
bool makeQuizResources(const PackedQuiz& quiz, ResourceSet& resources, std::string& error);

// Reads a quiz back from decoded payloads; fails on data that ends early or
// holds values the player cannot show.
bool parsePayloads(const Bytes& quizData, const Bytes& codesData, PackedQuiz& quiz, std::string& error);

// Decodes 104 and 105 and collects the media resources of an executable.
bool readQuizResources(const ResourceSet& resources, PackedQuiz& quiz, std::string& error);

}  // namespace kelvo::pack
