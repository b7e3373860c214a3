// Who a quiz is, as one short name: two quizzes that both ship as quiz.exe
// must never share saved answers, and the same quiz must always find its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvo {

// FNV-1a over the stored (compressed) PATCH 104 and 105 bytes and the
// executable's file name, upper-cased in ASCII since Windows names ignore case.
// Each part is preceded by its length so that no two splits hash alike.
std::uint64_t quizIdentity(const std::vector<std::uint8_t>& quizBytes, const std::vector<std::uint8_t>& codeBytes,
                           const std::string& executableName);

// The identity as 16 lower-case hexadecimal digits, for file names and keys.
std::string quizIdentityText(std::uint64_t identity);

}  // namespace kelvo
