// Any bytes given to the decoder must end in a status, inside its buffers;
// whatever decodes and fits the encoder must survive a second round trip.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "quiz/lzw_codec.h"

using namespace kelvo::lzw;

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

void checkRoundTrip(const std::uint8_t* bytes, std::size_t length) {
    Result stream = encode(bytes, length);
    require(stream.output != nullptr);
    if (stream.status == WriterRefused) return;  // a stream larger than its buffer
    require(stream.status == Success && stream.length <= EncodeBufferSize);
    Result back = decode(stream.output.get(), stream.length);
    require(back.status == Success && back.length == length);
    require(std::memcmp(back.output.get(), bytes, length) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Result result = decode(data, size);
    require(result.output != nullptr);
    require(result.status == Success || result.status == TruncatedInput || result.status == CorruptStream);
    require(result.length <= DecodeBufferSize);
    require(consumedBytes() <= size);
    if (result.status == Success && result.length >= 1 && result.length <= MaxInputSize)
        checkRoundTrip(result.output.get(), result.length);
    return 0;
}
