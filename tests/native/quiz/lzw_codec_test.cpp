#include "quiz/lzw_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace kelvo::lzw {
namespace {

using Bytes = std::string;  // byte strings compare and print well as std::string

const std::uint8_t* bytesOf(const Bytes& bytes) { return reinterpret_cast<const std::uint8_t*>(bytes.data()); }

Bytes hex(std::initializer_list<int> values) {
    Bytes bytes;
    for (int value : values) bytes.push_back(static_cast<char>(value));
    return bytes;
}

Bytes outputOf(const Result& result) {
    return Bytes(reinterpret_cast<const char*>(result.output.get()), result.length);
}

// Reports the first difference instead of printing whole inputs.
::testing::AssertionResult sameBytes(const Bytes& actual, const Bytes& expected) {
    if (actual == expected) return ::testing::AssertionSuccess();
    const auto difference = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    return ::testing::AssertionFailure() << actual.size() << " bytes instead of " << expected.size()
                                         << ", first difference at " << (difference.first - actual.begin());
}

Bytes encoded(const Bytes& input) {
    Result result = encode(bytesOf(input), input.size());
    EXPECT_EQ(result.status, Success) << "input of " << input.size() << " bytes";
    return outputOf(result);
}

Bytes decoded(const Bytes& stream) {
    Result result = decode(bytesOf(stream), stream.size());
    EXPECT_EQ(result.status, Success) << "stream of " << stream.size() << " bytes";
    return outputOf(result);
}

// ------------------------------------------------------------ stream helpers

// Packs codes of explicit widths, most significant bit first, for hand-made streams.
class StreamBuilder {
public:
    StreamBuilder& code(std::uint64_t value, unsigned width) {
        for (unsigned bit = width; bit-- > 0;) {
            if (bitCount % 8 == 0) bytes.push_back(0);
            if ((value >> bit) & 1) bytes.back() = static_cast<char>(bytes.back() | (0x80 >> (bitCount % 8)));
            ++bitCount;
        }
        return *this;
    }
    // As the encoder does: widen until the code fits, then write it.
    StreamBuilder& widened(std::uint32_t value) {
        while ((value >> width) != 0) code(WidenCode, width++);
        return code(value, width);
    }
    StreamBuilder& reset() {
        code(ResetCode, width);
        width = StartWidth;
        return *this;
    }
    Bytes end() { return code(EndCode, width).bytes; }

    Bytes bytes;
    std::size_t bitCount = 0;
    unsigned width = StartWidth;
};

struct StreamCode {
    std::uint32_t value;
    unsigned width;
};

// Reads back every code of a stream with the width it was written in.
std::vector<StreamCode> codesOf(const Bytes& stream) {
    std::vector<StreamCode> codes;
    std::size_t bit = 0;
    unsigned width = StartWidth;
    while (bit + width <= stream.size() * 8) {
        std::uint32_t value = 0;
        for (unsigned i = 0; i < width; ++i, ++bit) value = (value << 1) | ((stream[bit / 8] >> (7 - bit % 8)) & 1);
        codes.push_back({value, width});
        if (codes.size() == 1) continue;
        if (value == EndCode) break;
        if (value == WidenCode) ++width;
        if (value == ResetCode) width = StartWidth;
    }
    return codes;
}

// ------------------------------------------------------------ reference encoder

// The encoder written the plain way: whole strings in the dictionary, found
// through a per-length index by comparing every string of that length byte
// by byte. The fast encoder must produce the very same bytes.
Result referenceEncode(const Bytes& input) {
    Result result;
    result.output.reset(new std::uint8_t[EncodeBufferSize]());
    if (input.empty()) {
        result.status = TruncatedInput;
        return result;
    }
    std::vector<Bytes> dictionary(DictionarySize);
    for (int byte = 0; byte < 256; ++byte) dictionary[byte] = Bytes(1, static_cast<char>(byte));
    std::vector<std::vector<std::uint32_t>> codesByLength(MaxStringLength + 1);
    std::uint32_t nextCode = FirstAddedCode;
    StreamBuilder stream;

    // w, the string being extended, always ends just before the next input
    // byte, so it is kept as where it starts in the input and its length.
    auto find = [&](std::size_t start, std::size_t length) -> std::uint32_t {
        for (std::uint32_t code : codesByLength[length])
            if (std::memcmp(dictionary[code].data(), input.data() + start, length) == 0) return code;
        return 0;
    };
    auto add = [&](std::size_t start, std::size_t length) {
        dictionary[nextCode] = input.substr(start, length);
        codesByLength[length].push_back(nextCode++);
    };
    auto codeOf = [&](std::size_t start, std::size_t length) {
        return length == 1 ? static_cast<std::uint8_t>(input[start]) : find(start, length);
    };

    std::size_t wStart = 0;
    std::size_t wLength = 1;
    for (std::size_t position = 1; position < input.size(); ++position) {
        if (find(wStart, wLength + 1) != 0) {
            ++wLength;
            continue;
        }
        add(wStart, wLength + 1);
        stream.widened(codeOf(wStart, wLength));
        const std::size_t addedStart = wStart;
        wStart = position;
        wLength = 1;
        if (nextCode == DictionarySize) {
            stream.reset();
            nextCode = FirstAddedCode;
            for (auto& codes : codesByLength) codes.clear();
            add(addedStart, position + 1 - addedStart);
        }
    }
    stream.widened(codeOf(wStart, wLength));
    const Bytes bytes = stream.end();
    result.status = bytes.size() <= EncodeBufferSize ? Success : WriterRefused;
    result.length = std::min(bytes.size(), EncodeBufferSize);
    std::memcpy(result.output.get(), bytes.data(), result.length);
    return result;
}

// ------------------------------------------------------------ inputs

Bytes randomBytes(std::mt19937& random, std::size_t size, int alphabet = 256) {
    std::uniform_int_distribution<int> pick(0, alphabet - 1);
    Bytes bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(pick(random));
    return bytes;
}

// Words, spaces, punctuation and line ends, accents as Windows-1252 bytes.
Bytes textLike(std::mt19937& random, std::size_t size) {
    static const char* const words[] = {
        "le", "la", "les", "de", "des", "un", "une", "et", "est", "qui", "quelle", "ville",
        "capitale", "fleuve", "roi", "r\xE9" "ponse", "ann\xE9" "e", "pays", "montagne", "\xE9" "crivain",
        "peintre", "ch\xE2" "teau", "for\xEA" "t", "mer", "o\xF9", "Paris", "Lyon", "BRAVO", "FAUX"};
    static const char* const separators[] = {" ", " ", " ", ", ", ". ", " ? ", "|", "\r\n"};
    std::uniform_int_distribution<std::size_t> word(0, std::size(words) - 1);
    std::uniform_int_distribution<std::size_t> separator(0, std::size(separators) - 1);
    Bytes text;
    while (text.size() < size) text += Bytes(words[word(random)]) + separators[separator(random)];
    text.resize(size);
    return text;
}

Bytes repeated(const Bytes& pattern, std::size_t size) {
    Bytes bytes;
    while (bytes.size() < size) bytes += pattern;
    bytes.resize(size);
    return bytes;
}

// ============================================================ stream format

struct ByteExample {
    const char* why;
    Bytes input;
    Bytes stream;
};

void PrintTo(const ByteExample& example, std::ostream* out) { *out << example.why; }

class ByteExamples : public ::testing::TestWithParam<ByteExample> {};

TEST_P(ByteExamples, EncodeGivesTheStreamAndDecodeGivesTheInputBack) {
    const ByteExample& example = GetParam();
    EXPECT_EQ(encoded(example.input), example.stream);
    EXPECT_EQ(decoded(example.stream), example.input);
}

INSTANTIATE_TEST_SUITE_P(LzwCodec, ByteExamples, ::testing::Values(
    ByteExample{"three single bytes in 9 bits, then four zero bits", "abc", hex({0x30, 0x98, 0x8C, 0x70, 0x00})},
    ByteExample{"the pair ab is added as 259 and used again", "abab", hex({0x30, 0x98, 0xA0, 0x70, 0x00})},
    ByteExample{"one byte and the end code", "A", hex({0x20, 0xC0, 0x00})},
    // 0x61, 259, 256: 259 is used in the very step that makes it.
    ByteExample{"a code equal to the next free code", "aaa", hex({0x30, 0xC0, 0xE0, 0x00})}));

TEST(LzwCodec, EmptyInputIsRefusedBothWays) {
    Result encodeResult = encode(nullptr, 0);
    EXPECT_EQ(encodeResult.status, TruncatedInput);
    EXPECT_NE(encodeResult.output, nullptr);
    EXPECT_EQ(encodeResult.length, 0u);
    EXPECT_EQ(decode(nullptr, 0).status, TruncatedInput);
}

struct StatusExample {
    const char* why;
    Bytes stream;
    int status;
    Bytes output;
};

void PrintTo(const StatusExample& example, std::ostream* out) { *out << example.why; }

class DecodeStatuses : public ::testing::TestWithParam<StatusExample> {};

TEST_P(DecodeStatuses, StatusAndOutputSoFar) {
    const StatusExample& example = GetParam();
    Result result = decode(bytesOf(example.stream), example.stream.size());
    EXPECT_EQ(result.status, example.status);
    ASSERT_NE(result.output, nullptr);
    EXPECT_EQ(outputOf(result), example.output);
}

INSTANTIATE_TEST_SUITE_P(LzwCodec, DecodeStatuses, ::testing::Values(
    StatusExample{"first code incomplete", hex({0x20}), TruncatedInput, ""},
    StatusExample{"first code without an end code", hex({0x20, 0x80}), CorruptStream, ""},
    StatusExample{"end code cut short", hex({0x30, 0x98, 0x8C, 0x70}), CorruptStream, "ab"},
    StatusExample{"code above the next free code", StreamBuilder().code('a', 9).code('b', 9).code(261, 9).end(),
                  CorruptStream, "a"},
    StatusExample{"widened past 32 bits",
                  [] {
                      StreamBuilder stream;
                      stream.code('a', 9);
                      for (unsigned width = StartWidth; width <= 32; ++width) stream.code(WidenCode, width);
                      return stream.code('b', 33).bytes;
                  }(),
                  CorruptStream, ""},
    // 'a', widen twice, 'b' in 11 bits, reset in 11 bits, 'c' and the new
    // 259 (bc) in 9 bits: the reset came after the last widening.
    StatusExample{"reset at a high width",
                  StreamBuilder().code('a', 9).code(WidenCode, 9).code(WidenCode, 10).code('b', 11)
                      .code(ResetCode, 11).code('c', 9).code(259, 9).code(EndCode, 9).bytes,
                  Success, "abcbc"},
    StatusExample{"the first code may be any value; its low byte counts",
                  StreamBuilder().code(0x141, 9).end(), Success, "A"}));

TEST(LzwCodec, TrailingBytesAfterTheEndCodeAreNotRead) {
    const Bytes stream = encoded("abcabc") + "garbage";
    EXPECT_EQ(decoded(stream), "abcabc");
    EXPECT_EQ(consumedBytes(), stream.size() - 7);
}

TEST(LzwCodec, FiguresDescribeTheLastCall) {
    encoded("abc");
    EXPECT_EQ(consumedBytes(), 3u);
    EXPECT_EQ(encodeInputSize(), 3u);
    EXPECT_EQ(encodeOutputSize(), 5u);

    decoded(hex({0x20, 0xC0, 0x00}));
    EXPECT_EQ(consumedBytes(), 3u);
    EXPECT_EQ(encodeOutputSize(), 5u) << "decode leaves the encode figures";

    EXPECT_EQ(encode(bytesOf("x"), 0).status, TruncatedInput);
    EXPECT_EQ(encodeInputSize(), 0u);
    EXPECT_EQ(encodeOutputSize(), 5u) << "only a successful encode sets it";
}

// ============================================================ widths and resets

TEST(LzwCodec, FirstCodeOf512IsPrecededByOneWidenIn9BitsAndLaterCodesUse10) {
    std::mt19937 random(7);
    const Bytes input = textLike(random, 6000);
    const std::vector<StreamCode> codes = codesOf(encoded(input));
    const auto first512 = std::find_if(codes.begin() + 1, codes.end(), [](const StreamCode& code) {
        return code.value >= 512 && code.value < DictionarySize;
    });
    ASSERT_NE(first512, codes.end());
    ASSERT_GE(first512 - codes.begin(), 2);
    for (auto code = codes.begin(); code != first512 - 1; ++code) {
        EXPECT_EQ(code->width, 9u);
        EXPECT_NE(code->value, WidenCode);
    }
    EXPECT_EQ(first512[-1].value, WidenCode);
    EXPECT_EQ(first512[-1].width, 9u);
    for (auto code = first512; code != codes.end() && code->value != WidenCode; ++code) EXPECT_EQ(code->width, 10u);
    EXPECT_TRUE(sameBytes(decoded(encoded(input)), input));
}

TEST(LzwCodec, FullDictionaryIsResetAndTheStreamGoesOnIn9Bits) {
    std::mt19937 random(11);
    const Bytes input = textLike(random, 40000);
    const std::vector<StreamCode> codes = codesOf(encoded(input));
    const auto reset = std::find_if(codes.begin(), codes.end(), [](const StreamCode& code) {
        return code.value == ResetCode;
    });
    ASSERT_NE(reset, codes.end());
    // One code per added string, 259 to 4095, precedes the reset.
    const auto dataCodes = std::count_if(codes.begin(), reset, [](const StreamCode& code) {
        return code.value != WidenCode;
    });
    EXPECT_EQ(dataCodes, DictionarySize - FirstAddedCode);
    EXPECT_EQ(reset->width, 12u);
    EXPECT_EQ(reset[1].width, 9u);
    EXPECT_TRUE(sameBytes(decoded(encoded(input)), input));
}

// ============================================================ round trips

TEST(LzwCodec, RandomInputsOfRandomSizesComeBackUnchanged) {
    std::mt19937 random(20240601);
    // Random bytes from all 256 values stop fitting the stream near 24600
    // bytes; fewer distinct values fit at every size.
    std::uniform_int_distribution<std::size_t> anySize(1, MaxInputSize);
    std::uniform_int_distribution<std::size_t> fittingSize(1, 24000);
    const int alphabets[] = {2, 3, 8, 256};
    for (int trial = 0; trial < 200; ++trial) {
        const int alphabet = alphabets[trial % 4];
        const Bytes input = randomBytes(random, alphabet == 256 ? fittingSize(random) : anySize(random), alphabet);
        Result stream = encode(bytesOf(input), input.size());
        ASSERT_EQ(stream.status, Success) << "trial " << trial << ", " << input.size() << " bytes";
        Result back = decode(stream.output.get(), stream.length);
        ASSERT_EQ(back.status, Success) << "trial " << trial;
        ASSERT_TRUE(sameBytes(outputOf(back), input)) << "trial " << trial;
    }
}

TEST(LzwCodec, FullSizeTextAndRepetitiveInputsComeBackUnchanged) {
    std::mt19937 random(3);
    const Bytes inputs[] = {
        textLike(random, MaxInputSize), repeated("a", MaxInputSize), repeated("ab", MaxInputSize),
        repeated("Quelle est la capitale ?|", MaxInputSize), Bytes(MaxInputSize, '\0'),
        repeated(randomBytes(random, 100), MaxInputSize)};
    for (const Bytes& input : inputs) EXPECT_TRUE(sameBytes(decoded(encoded(input)), input));
}

// Random bytes grow in LZW; this finds the largest prefix of one random
// sequence whose stream still fits and shows that one byte more is refused.
TEST(LzwCodec, RandomBytesFitUpToALimitAndOneByteMoreIsRefused) {
    std::mt19937 random(5);
    const Bytes bytes = randomBytes(random, MaxInputSize);
    std::size_t fits = 1;
    std::size_t refused = MaxInputSize;
    while (refused - fits > 1) {
        const std::size_t middle = (fits + refused) / 2;
        (encode(bytesOf(bytes), middle).status == Success ? fits : refused) = middle;
    }
    std::printf("random bytes: %zu fit in %u stream bytes\n", fits, encodeOutputSize());
    EXPECT_GT(fits, 20000u);
    EXPECT_LT(fits, 30000u);

    const Bytes largest = bytes.substr(0, fits);
    EXPECT_TRUE(sameBytes(decoded(encoded(largest)), largest));

    Result tooLarge = encode(bytesOf(bytes), fits + 1);
    EXPECT_EQ(tooLarge.status, WriterRefused);
    ASSERT_NE(tooLarge.output, nullptr);
    EXPECT_EQ(tooLarge.length, EncodeBufferSize) << "the stream written so far is handed back";
    EXPECT_EQ(encodeInputSize(), fits + 1);
}

TEST(LzwCodec, InputAboveTheLimitIsRefused) {
    const Bytes input(MaxInputSize + 1, 'a');
    Result result = encode(bytesOf(input), input.size());
    EXPECT_EQ(result.status, WriterRefused);
    EXPECT_NE(result.output, nullptr);
    EXPECT_EQ(consumedBytes(), 0u);
}

// ============================================================ same bytes as the plain encoder

// After a reset, slot 259 holds the string carried over from before it; a
// code 259 in the stream means the encoder found that string again.
bool usesCarriedString(const Bytes& stream) {
    const std::vector<StreamCode> codes = codesOf(stream);
    const auto firstReset = std::find_if(codes.begin() + 1, codes.end(), [](const StreamCode& code) {
        return code.value == ResetCode;
    });
    return std::any_of(firstReset, codes.end(), [](const StreamCode& code) { return code.value == FirstAddedCode; });
}

TEST(LzwCodec, EncoderMatchesThePlainEncoderByteForByte) {
    std::mt19937 random(99);
    std::vector<Bytes> inputs = {"a", "ab", "aaaa", textLike(random, MaxInputSize), repeated("a", MaxInputSize),
                                 repeated("abc", MaxInputSize), repeated("abcdefghij", 30000),
                                 randomBytes(random, 6000), randomBytes(random, MaxInputSize, 2)};
    // Small alphabets make short strings whose prefixes come back soon after
    // a reset; long periods make long ones that do not.
    for (int alphabet : {2, 3, 4, 5, 8, 16, 40}) {
        for (std::size_t size : {std::size_t{5000}, std::size_t{30000}}) inputs.push_back(randomBytes(random, size, alphabet));
    }
    for (std::size_t period : {7, 61, 500, 3000}) inputs.push_back(repeated(randomBytes(random, period, 4), 30000));
    std::uniform_int_distribution<std::size_t> size(1, 3000);
    for (int trial = 0; trial < 20; ++trial) inputs.push_back(randomBytes(random, size(random), 1 + trial * 12));

    int carriedStringsUsed = 0;
    for (const Bytes& input : inputs) {
        Result expected = referenceEncode(input);
        Result actual = encode(bytesOf(input), input.size());
        ASSERT_EQ(actual.status, expected.status) << input.size() << " bytes";
        ASSERT_TRUE(sameBytes(outputOf(actual), outputOf(expected))) << input.size() << " bytes";
        if (usesCarriedString(outputOf(expected))) ++carriedStringsUsed;
    }
    // The string carried over a reset is the one the fast lookup cannot find
    // by its prefix; the inputs must reach it for this test to mean anything.
    EXPECT_GE(carriedStringsUsed, 2);
}

TEST(LzwCodec, PairCarriedOverAResetIsFoundAgainAtOnce) {
    // Steps of odd size through all byte values: every byte makes a new pair,
    // so the pair ending at byte 3837 fills the dictionary and is carried
    // over the reset; the two bytes appended after it must find it as 259.
    const std::size_t fillingLength = 1 + (DictionarySize - FirstAddedCode);
    Bytes input;
    for (int step = 1; input.size() < fillingLength; step += 2)
        for (int value = 0; value < 256 && input.size() < fillingLength; ++value)
            input.push_back(static_cast<char>((value * step) & 0xFF));
    input += input.substr(fillingLength - 2, 2);

    const Bytes stream = encoded(input);
    EXPECT_TRUE(usesCarriedString(stream));
    EXPECT_TRUE(sameBytes(stream, outputOf(referenceEncode(input))));
    EXPECT_TRUE(sameBytes(decoded(stream), input));
}

// ============================================================ corrupt streams

TEST(LzwCodec, AddingPastSlot4095WithoutAResetIsCorrupt) {
    // Every code after the first adds one string: 3837 of them fill 259 to 4095.
    auto streamOf = [](int addingCodes) {
        StreamBuilder stream;
        stream.code('a', 9);
        for (int i = 0; i < addingCodes; ++i) stream.code('a', 9);
        return stream.end();
    };
    EXPECT_TRUE(sameBytes(decoded(streamOf(3837)), Bytes(3838, 'a')));
    const Bytes overfull = streamOf(3838);
    EXPECT_EQ(decode(bytesOf(overfull), overfull.size()).status, CorruptStream);
}

TEST(LzwCodec, OutputBeyondItsBufferIsCorrupt) {
    // Each code equal to the next free code makes the current string one
    // byte longer: 1 + 2 + ... + n bytes of output.
    auto streamOf = [](std::uint32_t lastCode) {
        StreamBuilder stream;
        stream.code('z', 9);
        for (std::uint32_t code = FirstAddedCode; code <= lastCode; ++code) stream.widened(code);
        return stream.end();
    };
    const std::size_t fittingCodes = 488;  // 489 * 490 / 2 = 119805 bytes
    EXPECT_TRUE(sameBytes(decoded(streamOf(FirstAddedCode + fittingCodes - 1)), Bytes(119805, 'z')));
    const Bytes tooLong = streamOf(FirstAddedCode + fittingCodes);
    Result result = decode(bytesOf(tooLong), tooLong.size());
    EXPECT_EQ(result.status, CorruptStream);
    EXPECT_LE(result.length, DecodeBufferSize);
}

TEST(LzwCodec, EveryTruncationOfAStreamIsRefused) {
    std::mt19937 random(17);
    const Bytes stream = encoded(textLike(random, 3000));
    for (std::size_t length = 0; length < stream.size(); ++length) {
        const int status = decode(bytesOf(stream), length).status;
        EXPECT_EQ(status, length < 2 ? TruncatedInput : CorruptStream) << length << " bytes";
    }
}

// Under the sanitizers this shows that no mutation reads or writes out of bounds.
TEST(LzwCodec, MutatedStreamsNeverBreakTheDecoder) {
    std::mt19937 random(23);
    const Bytes streams[] = {encoded(textLike(random, 20000)), encoded(randomBytes(random, 8000, 4)),
                             encoded(repeated("abc", 60000))};
    std::uniform_int_distribution<int> byte(0, 255);
    for (int trial = 0; trial < 3000; ++trial) {
        Bytes stream = streams[trial % 3];
        std::uniform_int_distribution<std::size_t> position(0, stream.size() - 1);
        for (int flips = 1 + trial % 4; flips > 0; --flips) stream[position(random)] = static_cast<char>(byte(random));
        if (trial % 5 == 0) stream.resize(position(random));
        Result result = decode(bytesOf(stream), stream.size());
        ASSERT_TRUE(result.status == Success || result.status == CorruptStream || result.status == TruncatedInput);
        ASSERT_NE(result.output, nullptr);
        ASSERT_LE(result.length, DecodeBufferSize);
    }
}

}  // namespace
}  // namespace kelvo::lzw
