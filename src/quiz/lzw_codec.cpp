#include "quiz/lzw_codec.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace kelvo::lzw {
namespace {

constexpr unsigned MaxWidth = 32;

// The figures outlive the call that set them; the queries read them.
struct Figures {
    std::uint32_t consumed = 0;
    std::uint32_t encodeInput = 0;
    std::uint32_t encodeOutput = 0;
};
Figures figures;

std::uint32_t clampedFigure(std::size_t value) {
    return static_cast<std::uint32_t>(std::min<std::size_t>(value, std::numeric_limits<std::uint32_t>::max()));
}

std::unique_ptr<std::uint8_t[]> makeOutput(std::size_t size, MessageSink* messages) {
    std::unique_ptr<std::uint8_t[]> output(new (std::nothrow) std::uint8_t[size]());
    if (!output && messages != nullptr) messages->showMessage(MemoryMessage, MemoryCaption);
    return output;
}

// ---------------------------------------------------------------- decoding

// Takes codes of any width up to 32 bits, most significant bit first.
class BitReader {
public:
    BitReader(const std::uint8_t* bytes, std::size_t size) : input(bytes), length(size) {}

    // False when the input ends before the code is complete.
    bool read(unsigned width, std::uint32_t& code) {
        while (bitCount < width) {
            if (position == length) return false;
            bits = (bits << 8) | input[position++];
            bitCount += 8;
        }
        bitCount -= width;
        code = static_cast<std::uint32_t>(bits >> bitCount);
        bits &= (std::uint64_t{1} << bitCount) - 1;
        return true;
    }

    std::size_t consumed() const { return position; }

private:
    const std::uint8_t* input;
    std::size_t length;
    std::size_t position = 0;
    std::uint64_t bits = 0;  // the low bitCount bits are still unread
    unsigned bitCount = 0;
};

// Every added string is the string output for one code followed by the
// first byte output for the next, so it lies in the output already and a
// slot only needs its place there. The current string is kept written ahead
// at the end of the output, where appending it costs nothing.
class Decoder {
public:
    Decoder(const std::uint8_t* bytes, std::size_t size) : reader(bytes, size) {}

    // The output must hold DecodeBufferSize bytes.
    int run(std::uint8_t* decodeBuffer) {
        output = decodeBuffer;
        std::uint32_t code = 0;
        if (!reader.read(width, code)) return TruncatedInput;
        output[0] = static_cast<std::uint8_t>(code & 0xFF);
        currentLength = 1;
        for (;;) {
            if (width > MaxWidth) return CorruptStream;
            if (!reader.read(width, code)) return CorruptStream;
            switch (code) {
                case EndCode:
                    outputLength += currentLength;
                    return Success;
                case ResetCode:
                    nextCode = FirstAddedCode;
                    width = StartWidth;
                    break;
                case WidenCode:
                    ++width;
                    break;
                default:
                    if (!takeCode(code)) return CorruptStream;
            }
        }
    }

    std::size_t decodedLength() const { return outputLength; }
    std::size_t consumed() const { return reader.consumed(); }

private:
    struct Slot {
        std::uint32_t offset;  // in the output
        std::uint32_t length;
    };

    bool takeCode(std::uint32_t code) {
        if (code > nextCode || nextCode >= DictionarySize) return false;
        if (currentLength + 1 > MaxStringLength) return false;
        // The new entry is the current string and the first byte of the code's
        // string; for the entry being made now that byte is its own first.
        // The byte itself lands in place when the code's string is written.
        slots[nextCode++] = {static_cast<std::uint32_t>(outputLength), static_cast<std::uint32_t>(currentLength + 1)};
        outputLength += currentLength;
        return writeCurrent(code);
    }

    // Writes the code's string at the end of the output as the new current
    // string. The first byte goes first: for the entry made by this very code
    // it is the last byte of its own source.
    bool writeCurrent(std::uint32_t code) {
        std::uint8_t* target = output + outputLength;
        if (code < 256) {
            if (outputLength + 1 > DecodeBufferSize) return false;
            target[0] = static_cast<std::uint8_t>(code);
            currentLength = 1;
            return true;
        }
        const Slot slot = slots[code];
        if (outputLength + slot.length > DecodeBufferSize) return false;
        const std::uint8_t* source = output + slot.offset;
        target[0] = source[0];
        std::memcpy(target + 1, source + 1, slot.length - 1);
        currentLength = slot.length;
        return true;
    }

    BitReader reader;
    std::uint8_t* output = nullptr;
    std::size_t outputLength = 0;
    std::size_t currentLength = 0;
    unsigned width = StartWidth;
    std::uint32_t nextCode = FirstAddedCode;
    Slot slots[DictionarySize] = {};
};

// ---------------------------------------------------------------- encoding

// Packs codes most significant bit first into a stream of bounded size.
class BitWriter {
public:
    BitWriter(std::uint8_t* buffer, std::size_t size) : output(buffer), capacity(size) {}

    // False for a width above 32 or when the stream is full.
    bool write(std::uint32_t code, unsigned width) {
        if (width > MaxWidth) return false;
        bits = (bits << width) | code;
        bitCount += width;
        while (bitCount >= 8) {
            bitCount -= 8;
            if (!put(static_cast<std::uint8_t>(bits >> bitCount))) return false;
        }
        bits &= (std::uint64_t{1} << bitCount) - 1;
        return true;
    }

    // The last partial byte goes out with its remaining low bits zero.
    bool flush() {
        if (bitCount == 0) return true;
        const bool written = put(static_cast<std::uint8_t>(bits << (8 - bitCount)));
        bitCount = 0;
        bits = 0;
        return written;
    }

    std::size_t size() const { return count; }

private:
    bool put(std::uint8_t byte) {
        if (count == capacity) return false;
        output[count++] = byte;
        return true;
    }

    std::uint8_t* output;
    std::size_t capacity;
    std::size_t count = 0;
    std::uint64_t bits = 0;
    unsigned bitCount = 0;
};

// Finds an added string by the code of the string one byte shorter and that
// last byte. Every added string's prefix is itself in the dictionary, so this
// finds the same code as comparing whole strings of the same length; the one
// exception, the string carried over a reset, is handled by the encoder.
class PrefixTable {
public:
    void clear() { std::memset(entries, 0, sizeof entries); }

    // 0 when absent (no added code is 0).
    std::uint32_t find(std::uint32_t prefixCode, std::uint8_t byte) const {
        const std::uint32_t key = keyOf(prefixCode, byte);
        for (std::uint32_t index = hashOf(key);; index = (index + 1) & Mask) {
            if (entries[index].code == 0) return 0;
            if (entries[index].key == key) return entries[index].code;
        }
    }

    void insert(std::uint32_t prefixCode, std::uint8_t byte, std::uint32_t code) {
        const std::uint32_t key = keyOf(prefixCode, byte);
        std::uint32_t index = hashOf(key);
        while (entries[index].code != 0) index = (index + 1) & Mask;
        entries[index] = {key, static_cast<std::uint16_t>(code)};
    }

private:
    // Twice the dictionary size keeps the probe runs short.
    static constexpr std::uint32_t Size = 2 * DictionarySize;
    static constexpr std::uint32_t Mask = Size - 1;
    static constexpr unsigned IndexBits = 13;
    static_assert((1u << IndexBits) == Size, "IndexBits must match Size");

    static std::uint32_t keyOf(std::uint32_t prefixCode, std::uint8_t byte) { return (prefixCode << 8) | byte; }
    static std::uint32_t hashOf(std::uint32_t key) { return (key * 2654435761u) >> (32 - IndexBits); }

    struct Entry {
        std::uint32_t key;
        std::uint16_t code;
    };
    Entry entries[Size] = {};
};

// The current string w is always a run of the input, so the encoder keeps
// its code and where it starts instead of its bytes.
class Encoder {
public:
    // At least one input byte.
    Encoder(const std::uint8_t* bytes, std::size_t size) : input(bytes), length(size) {}

    // The output must hold EncodeBufferSize bytes.
    int run(std::uint8_t* streamBuffer) {
        writer = BitWriter(streamBuffer, EncodeBufferSize);
        std::uint32_t wCode = input[0];
        std::size_t wStart = 0;
        for (position = 1; position < length; ++position) {
            const std::uint8_t byte = input[position];
            if (const std::uint32_t found = table.find(wCode, byte); found != 0) {
                wCode = found;
                continue;
            }
            add(wCode, byte, wStart, position + 1 - wStart);
            if (!writeWidened(wCode)) return WriterRefused;
            wCode = byte;
            const std::size_t addedStart = wStart;
            wStart = position;
            if (nextCode == DictionarySize && !resetAfter(addedStart, position + 1 - addedStart)) return WriterRefused;
        }
        if (!writeWidened(wCode) || !writer.write(EndCode, width) || !writer.flush()) return WriterRefused;
        return Success;
    }

    std::size_t streamSize() const { return writer.size(); }
    std::size_t consumed() const { return std::min(position + 1, length); }

private:
    void add(std::uint32_t prefixCode, std::uint8_t byte, std::size_t start, std::size_t stringLength) {
        const std::uint32_t code = nextCode++;
        table.insert(prefixCode, byte, code);
        if (carriedLength != 0 && stringLength == carriedLength - 1 &&
            std::memcmp(input + start, input + carriedStart, stringLength) == 0) {
            // The carried string's prefix is back in the dictionary: from
            // now on it is found like any other string.
            table.insert(code, input[carriedStart + stringLength], FirstAddedCode);
            carriedLength = 0;
        }
    }

    // Widens first until the code fits the width. Single bytes always fit.
    bool writeWidened(std::uint32_t code) {
        for (std::uint32_t excess = code >> width; excess != 0; excess >>= 1) {
            if (!writer.write(WidenCode, width)) return false;
            ++width;
        }
        return writer.write(code, width);
    }

    // The dictionary is full: start again, keeping the string just added as
    // code 259, which the decoder makes from the codes around the reset. Its
    // prefix is forgotten, so it can be found only once the same prefix has
    // been added again (or at once for a single-byte prefix).
    bool resetAfter(std::size_t addedStart, std::size_t addedLength) {
        if (!writer.write(ResetCode, width)) return false;
        table.clear();
        nextCode = FirstAddedCode + 1;
        width = StartWidth;
        carriedLength = 0;
        if (addedLength == 2) {
            table.insert(input[addedStart], input[addedStart + 1], FirstAddedCode);
        } else {
            carriedStart = addedStart;
            carriedLength = addedLength;
        }
        return true;
    }

    const std::uint8_t* input;
    std::size_t length;
    std::size_t position = 0;
    BitWriter writer{nullptr, 0};
    PrefixTable table;
    std::uint32_t nextCode = FirstAddedCode;
    unsigned width = StartWidth;
    std::size_t carriedStart = 0;
    std::size_t carriedLength = 0;  // 0 when no carried string waits for its prefix
};

}  // namespace

Result decode(const std::uint8_t* input, std::size_t length, MessageSink* messages) {
    figures.consumed = 0;
    Result result;
    // The work state first, then the output: a failure of either hands back
    // no buffer.
    std::unique_ptr<Decoder> decoder(new (std::nothrow) Decoder(input, length));
    if (!decoder) return result;
    result.output = makeOutput(DecodeBufferSize, messages);
    if (!result.output) return result;
    result.status = decoder->run(result.output.get());
    result.length = decoder->decodedLength();
    figures.consumed = clampedFigure(decoder->consumed());
    return result;
}

Result encode(const std::uint8_t* input, std::size_t length, MessageSink* messages) {
    figures.consumed = 0;
    figures.encodeInput = clampedFigure(length);
    Result result;
    std::unique_ptr<Encoder> encoder(new (std::nothrow) Encoder(input, length));
    if (!encoder) return result;
    result.output = makeOutput(EncodeBufferSize, messages);
    if (!result.output) return result;
    if (length == 0) {
        result.status = TruncatedInput;
        return result;
    }
    if (length > MaxInputSize) {
        result.status = WriterRefused;
        return result;
    }
    result.status = encoder->run(result.output.get());
    result.length = encoder->streamSize();
    figures.consumed = clampedFigure(encoder->consumed());
    if (result.status == Success) figures.encodeOutput = clampedFigure(result.length);
    return result;
}

std::uint32_t consumedBytes() { return figures.consumed; }
std::uint32_t encodeInputSize() { return figures.encodeInput; }
std::uint32_t encodeOutputSize() { return figures.encodeOutput; }

}  // namespace kelvo::lzw
