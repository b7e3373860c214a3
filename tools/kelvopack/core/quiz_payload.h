// The two PATCH resources of a quiz: resource 104 (kind, counts, header
// texts, questions, reveal texts, colour) and resource 105 (one code line per
// score), both compressed with the player's LZW codec, plus the "IMG"
// pictures and clips. Writing and reading back are kept side by side here so
// that extract and build stay exact inverses.
#pragma once

#include <optional>
#include <string>

#include "core/packed_quiz.h"
#include "core/resource_set.h"

namespace kelvo::pack {

// Byte 0 of resource 104, which the player does not read: the layout version
// of kelvopack's output.
constexpr std::uint8_t PayloadFormat = 1;

// The largest input the codec takes (its read position is 16 bits wide).
constexpr std::size_t MaxPayloadSize = 65535;

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
