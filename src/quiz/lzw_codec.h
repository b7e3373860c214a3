// The program's own LZW codec. The quiz resources are stored in its stream
// format: codes packed most significant bit first, starting at 9 bits; the
// width changes only through the codes 257 (one bit wider) and 258 (reset of
// the dictionary and back to 9 bits); 256 ends the data.
//
// One call at a time on one thread: the figures below describe the last call.
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
    WriterRefused = -6,    // encode: input or stream too large (see encode)
    CorruptStream = -7,    // decode only
};

enum Code : std::uint32_t {
    EndCode = 256,
    WidenCode = 257,
    ResetCode = 258,
    FirstAddedCode = 259,
};

constexpr unsigned StartWidth = 9;
constexpr std::uint32_t DictionarySize = 4096;
constexpr std::size_t MaxStringLength = 4096;
constexpr std::size_t MaxInputSize = 65535;
constexpr std::size_t DecodeBufferSize = 120000;
constexpr std::size_t EncodeBufferSize = 32768;

// Shown when the output buffer cannot be made.
constexpr const char* MemoryMessage = "Impossible d'allouer la memoire";
constexpr const char* MemoryCaption = "information";

struct Result {
    int status = OutOfMemory;
    // Null only when the buffers could not be made; otherwise it holds what
    // was produced so far, even on failure. Its size is DecodeBufferSize or
    // EncodeBufferSize.
    std::unique_ptr<std::uint8_t[]> output;
    // The number of bytes written (decoded bytes, or stream bytes).
    std::size_t length = 0;
};

// Decompresses one stream into a zero-filled 120000-byte buffer. A stream that
// would add past slot 4095 without a reset, build a string longer than 4096
// bytes, decode to more than 120000 bytes, widen past 32 bits or end before
// its end code is corrupt (-7); nothing is written out of bounds. Bytes after
// the end code are not read; a stream longer than 65535 bytes is read in full.
Result decode(const std::uint8_t* input, std::size_t length, MessageSink* messages = nullptr);

// Compresses one input of 1 to 65535 bytes into a stream of at most 32768
// bytes. A longer input, or one whose stream would not fit, is refused with
// WriterRefused (-6) and the stream written so far.
Result encode(const std::uint8_t* input, std::size_t length, MessageSink* messages = nullptr);

// Input bytes read by the last decode or encode.
std::uint32_t consumedBytes();
// The input length given to the last encode.
std::uint32_t encodeInputSize();
// The stream size of the last successful encode; a failed encode keeps it.
std::uint32_t encodeOutputSize();

}  // namespace kelvo::lzw
