#include "quiz/quiz_identity.h"

#include <cstdio>

namespace kelvo {
namespace {

constexpr std::uint64_t FnvOffset = 0xcbf29ce484222325ull;
constexpr std::uint64_t FnvPrime = 0x100000001b3ull;

void mixByte(std::uint64_t& hash, std::uint8_t byte) {
    hash ^= byte;
    hash *= FnvPrime;
}

void mixLength(std::uint64_t& hash, std::uint64_t length) {
    for (int shift = 0; shift < 64; shift += 8) mixByte(hash, static_cast<std::uint8_t>(length >> shift));
}

void mixBytes(std::uint64_t& hash, const std::vector<std::uint8_t>& bytes) {
    mixLength(hash, bytes.size());
    for (std::uint8_t byte : bytes) mixByte(hash, byte);
}

std::uint8_t upperAsciiByte(char c) {
    auto byte = static_cast<std::uint8_t>(c);
    return byte >= 'a' && byte <= 'z' ? static_cast<std::uint8_t>(byte - 0x20) : byte;
}

}  // namespace

std::uint64_t quizIdentity(const std::vector<std::uint8_t>& quizBytes, const std::vector<std::uint8_t>& codeBytes,
                           const std::string& executableName) {
    std::uint64_t hash = FnvOffset;
    mixBytes(hash, quizBytes);
    mixBytes(hash, codeBytes);
    mixLength(hash, executableName.size());
    for (char c : executableName) mixByte(hash, upperAsciiByte(c));
    return hash;
}

std::string quizIdentityText(std::uint64_t identity) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(identity));
    return text;
}

}  // namespace kelvo
