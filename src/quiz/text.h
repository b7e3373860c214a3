// Fixed-size ANSI texts: every text of the quiz lives in a 260-byte buffer
// (at most 259 characters), the data model the whole player is built on.
#pragma once

#include <cstddef>
#include <cstring>

namespace kelvo {

constexpr int TextSize = 260;
constexpr int MaxTextLength = TextSize - 1;

// Copies at most N-1 bytes of a zero-terminated source and always terminates.
template <std::size_t N>
void copyText(char (&destination)[N], const char* source) {
    std::size_t length = 0;
    while (length < N - 1 && source[length] != '\0') ++length;
    std::memcpy(destination, source, length);
    destination[length] = '\0';
}

// Same, from a byte run of known length that carries no terminator.
template <std::size_t N>
void copyText(char (&destination)[N], const char* source, std::size_t length) {
    if (length > N - 1) length = N - 1;
    std::memcpy(destination, source, length);
    destination[length] = '\0';
}

}  // namespace kelvo
