// The program's own LZW codec. The quiz resources are stored in its stream
// format: codes packed most significant bit first, width 9 to 12 changed only
// by the codes 257 (widen) and 258 (reset), 256 ending the data.
//
// Like the original, the codec keeps one module-level state and serves one
// call at a time on one thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "quiz/message_sink.h"

namespace kelvo::lzw {

enum Status : int {
    Success = 0,
    OutOfMemory = -4,
    TruncatedInput = -5,   // decode: first code incomplete; encode: empty input
    WriterRefused = -6,    // encode: a code the stream cannot hold (see encode)
    CorruptStream = -7,    // decode only
};

constexpr std::size_t MaxInputSize = 65535;
constexpr std::size_t DecodeBufferSize = 120000;
constexpr std::size_t EncodeBufferSize = 32768;

struct Result {
    int status = OutOfMemory;
    // Null only when the output buffer itself could not be made; otherwise
    // it holds what was produced so far, even on failure.
    std::unique_ptr<std::uint8_t[]> output;
    // The number of bytes written (decoded bytes, or stream bytes).
    std::size_t length = 0;
};

// Decompresses one stream into a 120000-byte buffer. A stream that would add
// past slot 4095 without a reset, build a string longer than 4096 bytes or
// decode to more than 120000 bytes is corrupt (-7); nothing is written out of
// bounds. The memory message goes to `messages` when given.
Result decode(const std::uint8_t* input, std::size_t length, MessageSink* messages = nullptr);

// Compresses one input of 1 to 65535 bytes into a stream of at most 32768
// bytes. A longer input, or one whose stream would not fit, is refused with
// WriterRefused (-6), like a code the bit writer cannot take.
Result encode(const std::uint8_t* input, std::size_t length, MessageSink* messages = nullptr);

// Figures of the last call.
std::uint32_t consumedBytes();
std::uint32_t encodeInputSize();
std::uint32_t encodeOutputSize();

}  // namespace kelvo::lzw
