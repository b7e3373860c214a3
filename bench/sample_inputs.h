// Reproducible inputs for the codec benchmarks: the same bytes on every run.
#pragma once

#include <cstddef>
#include <string>

namespace kelvo::bench {

// French prose in Windows-1252: sentences of common words, accents, punctuation, CR LF.
std::string frenchText(std::size_t size);

// Bytes laid out like a quiz resource: header bytes and fields, then question
// groups (answer, second answer, question text), reveal texts, all "|" ended.
std::string quizResource(std::size_t size);

// Uniformly random bytes.
std::string randomBytes(std::size_t size);

}  // namespace kelvo::bench
