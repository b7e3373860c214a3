// Hand-computed streams, widening, reset, limits and corrupt streams; the
// decoder on arbitrary bytes is left to fuzz/decode_fuzz.cpp.
#include "quiz/lzw_codec.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <unordered_map>
#include <vector>

namespace kelvo::lzw {
namespace {

using Bytes = std::string;  // byte strings compare and print well as std::string

const std::uint8_t* bytesOf(const Bytes& bytes) { return reinterpret_cast<const std::uint8_t*>(bytes.data()); }
Bytes outputOf(const Result& result) { return Bytes(reinterpret_cast<const char*>(result.output.get()), result.length); }

Bytes succeeded(const Result& result) {
    EXPECT_EQ(result.status, Success);
    return outputOf(result);
}
Bytes encoded(const Bytes& input) { return succeeded(encode(bytesOf(input), input.size())); }
Bytes decoded(const Bytes& stream) { return succeeded(decode(bytesOf(stream), stream.size())); }

// A boolean, so that a failure does not print 65535 bytes.
bool roundTrips(const Bytes& input) { return decoded(encoded(input)) == input; }

// Packs codes of explicit widths, most significant bit first, for hand-made streams.
struct StreamBuilder {
    StreamBuilder& code(std::uint64_t value, unsigned codeWidth) {
        for (unsigned bit = codeWidth; bit-- > 0; ++bitCount) {
            if (bitCount % 8 == 0) bytes.push_back(0);
            if ((value >> bit) & 1) bytes.back() = static_cast<char>(bytes.back() | (0x80 >> (bitCount % 8)));
        }
        return *this;
    }
    StreamBuilder& widened(std::uint32_t value) {  // as the encoder does: widen until the code fits
        while ((value >> width) != 0) code(WidenCode, width++);
        return code(value, width);
    }
    Bytes end() { return code(EndCode, width).bytes; }

    Bytes bytes;
    std::size_t bitCount = 0;
    unsigned width = StartWidth;
};

// The encoder written the plain way: whole strings in a map. The fast
// encoder finds strings by prefix code and must produce the very same bytes,
// widening and resetting as the stream format says, including for the string
// carried over a reset, whose prefix is forgotten; `carriedUses` counts how
// often that string is written.
Bytes referenceEncode(const Bytes& input, int& carriedUses) {
    std::unordered_map<Bytes, std::uint32_t> dictionary;  // added strings only
    bool reset = false;
    StreamBuilder stream;
    auto write = [&](const Bytes& string) {
        const std::uint32_t code = string.size() == 1 ? static_cast<std::uint8_t>(string[0]) : dictionary.at(string);
        carriedUses += reset && code == FirstAddedCode;
        stream.widened(code);
    };
    Bytes w(1, input[0]);
    for (std::size_t position = 1; position < input.size(); ++position) {
        if (dictionary.count(w + input[position]) != 0) {
            w += input[position];
            continue;
        }
        const Bytes added = w + input[position];
        dictionary.emplace(added, static_cast<std::uint32_t>(FirstAddedCode + dictionary.size()));
        write(w);
        w = Bytes(1, input[position]);
        if (dictionary.size() == DictionarySize - FirstAddedCode) {
            stream.code(ResetCode, stream.width);
            stream.width = StartWidth;
            dictionary = {{added, FirstAddedCode}};
            reset = true;
        }
    }
    write(w);
    return stream.end();
}

Bytes randomBytes(std::mt19937& random, std::size_t size, int alphabet = 256) {
    Bytes bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random() % alphabet);
    return bytes;
}

Bytes repeated(const Bytes& pattern, std::size_t size) {
    Bytes bytes;
    while (bytes.size() < size) bytes += pattern;
    return bytes.substr(0, size);
}

// The codes a and b with b in the given width, widened to it one bit at a time.
Bytes widenedTo(unsigned width) {
    StreamBuilder stream;
    for (stream.code('a', 9); stream.width < width;) stream.code(WidenCode, stream.width++);
    return stream.code('b', width).end();
}

TEST(LzwCodec, HandMadeStreamsDecodeToTheirStatusAndOutputAndBack) {
    const struct {
        const char* why;
        Bytes stream;
        int status;
        Bytes output;
        const char* input = nullptr;  // what encodes to the stream, when the encoder makes it
    } rows[] = {
        {"three bytes in 9 bits, four zero bits", "\x30\x98\x8C\x70" + Bytes(1, 0), Success, "abc", "abc"},
        {"the pair ab added as 259 and used", "\x30\x98\xA0\x70" + Bytes(1, 0), Success, "abab", "abab"},
        {"one byte and the end code", "\x20\xC0" + Bytes(1, 0), Success, "A", "A"},
        {"259 used in the step that makes it", "\x30\xC0\xE0" + Bytes(1, 0), Success, "aaa", "aaa"},
        {"empty stream", "", TruncatedInput, ""},
        {"first code incomplete", "\x20", TruncatedInput, ""},
        {"first code only, no end code", "\x20\x80", CorruptStream, ""},
        {"end code cut short", "\x30\x98\x8C\x70", CorruptStream, "ab"},
        {"code above the next free code", StreamBuilder().code('a', 9).code('b', 9).code(261, 9).end(), CorruptStream, "a"},
        {"widened to 32 bits", widenedTo(32), Success, "ab"},
        {"widened past 32 bits", widenedTo(33), CorruptStream, ""},
        {"258 at width 11 resets to 9 bits",
         StreamBuilder().code('a', 9).code(WidenCode, 9).code(WidenCode, 10).code('b', 11).code(ResetCode, 11)
             .code('c', 9).code(259, 9).code(EndCode, 9).bytes,
         Success, "abcbc"},
        {"the first code's low byte counts", StreamBuilder().code(0x141, 9).end(), Success, "A"},
    };
    for (const auto& row : rows) {
        Result result = decode(bytesOf(row.stream), row.stream.size());
        EXPECT_EQ(result.status, row.status) << row.why;
        ASSERT_NE(result.output, nullptr);
        EXPECT_EQ(outputOf(result), row.output) << row.why;
        if (row.input) {
            EXPECT_EQ(encoded(row.input), row.stream) << row.why;
        }
    }
}

TEST(LzwCodec, FiguresDescribeTheLastCallAndTrailingBytesAreNotRead) {
    const Bytes stream = encoded("abcabc");
    EXPECT_EQ(encodeInputSize(), 6u);
    EXPECT_EQ(encodeOutputSize(), stream.size());
    EXPECT_EQ(decoded(stream + "garbage"), "abcabc");
    EXPECT_EQ(consumedBytes(), stream.size());
    Result empty = encode(nullptr, 0);
    EXPECT_EQ(empty.status, TruncatedInput);
    EXPECT_TRUE(empty.output != nullptr && empty.length == 0) << "a failure after the buffers hands them back";
    EXPECT_EQ(encodeInputSize(), 0u);
    EXPECT_EQ(encodeOutputSize(), stream.size()) << "only a successful encode sets it";
}

// The round trip over every size and kind of input, up to the largest;
// random bytes from all 256 values stop fitting the stream near 24600 bytes.
TEST(LzwCodec, InputsComeBackUnchangedUpToTheirLimits) {
    std::mt19937 random(20240601);
    for (int trial = 0; trial < 200; ++trial) {
        const int alphabet = std::vector<int>{2, 3, 8, 256}[trial % 4];
        const std::size_t size = std::uniform_int_distribution<std::size_t>(1, alphabet == 256 ? 24000 : MaxInputSize)(random);
        ASSERT_TRUE(roundTrips(randomBytes(random, size, alphabet))) << "trial " << trial;
    }

    // Random bytes grow: 30000 of them overflow the stream, which is refused
    // with the whole buffer written so far.
    Result tooLarge = encode(bytesOf(randomBytes(random, 30000)), 30000);
    EXPECT_EQ(tooLarge.status, WriterRefused);
    ASSERT_NE(tooLarge.output, nullptr);
    EXPECT_EQ(tooLarge.length, EncodeBufferSize);
    const Bytes overLimit(MaxInputSize + 1, 'a');
    EXPECT_EQ(encode(bytesOf(overLimit), overLimit.size()).status, WriterRefused);
    EXPECT_EQ(consumedBytes(), 0u);
}

TEST(LzwCodec, EncoderMatchesThePlainEncoderByteForByte) {
    std::mt19937 random(99);
    // Steps of odd size through all byte values make a new pair at every
    // byte; the pair that fills the dictionary is appended right after it.
    Bytes pairCarried;
    for (int step = 1; pairCarried.size() < 3838; step += 2)
        for (int value = 0; value < 256 && pairCarried.size() < 3838; ++value)
            pairCarried.push_back(static_cast<char>(value * step));
    pairCarried += pairCarried.substr(3836, 2);

    std::vector<Bytes> inputs = {"a", "ab", "aaaa", pairCarried, repeated("abc", MaxInputSize),
                                 randomBytes(random, 6000), randomBytes(random, MaxInputSize, 2),
                                 Bytes(MaxInputSize, '\0'), repeated(randomBytes(random, 100), MaxInputSize)};
    // Small alphabets make short strings whose prefixes come back soon after
    // a reset; long periods make long ones that do not.
    for (int alphabet : {3, 5, 16, 40}) inputs.push_back(randomBytes(random, 30000, alphabet));
    for (std::size_t period : {61, 3000}) inputs.push_back(repeated(randomBytes(random, period, 4), 30000));

    // After a reset, slot 259 holds the string carried over; the fast lookup
    // cannot find it by its prefix, so the comparison must reach it.
    int carriedUses = 0;
    for (const Bytes& input : inputs) {
        const int before = carriedUses;
        ASSERT_TRUE(encoded(input) == referenceEncode(input, carriedUses)) << input.size() << " bytes";
        ASSERT_TRUE(roundTrips(input)) << input.size() << " bytes";
        if (&input == &inputs[3]) EXPECT_GT(carriedUses, before) << "the carried pair is written";
    }
    EXPECT_GE(carriedUses, 3) << "carried strings longer than a pair are written too";
}

TEST(LzwCodec, CorruptStreamsAreRefusedWithinTheBuffer) {
    // Every code after the first adds a string: 3837 of them fill 259 to 4095.
    auto addingCodes = [](int count) {
        StreamBuilder stream;
        for (int i = 0; i <= count; ++i) stream.code('a', 9);
        return stream.end();
    };
    EXPECT_EQ(decoded(addingCodes(3837)), Bytes(3838, 'a'));
    const Bytes overfull = addingCodes(3838);
    EXPECT_EQ(decode(bytesOf(overfull), overfull.size()).status, CorruptStream);

    // Each code equal to the next free code makes the current string one byte
    // longer: 488 of them make 489 * 490 / 2 = 119805 bytes. Single bytes
    // then fill the output to 120000 exactly, the last write a single byte or
    // a string of the dictionary; one byte more is too many.
    auto filling = [](int singles, bool endsWithAString) {
        StreamBuilder stream;
        stream.code('z', 9);
        std::uint32_t next = FirstAddedCode;
        while (next < FirstAddedCode + 488) stream.widened(next++);
        for (int i = 0; i < singles; ++i, ++next) stream.widened('z');
        if (endsWithAString) stream.widened(next);
        return stream.end();
    };
    const struct { int singles; bool endsWithAString; int status; } fills[] = {
        {0, false, Success}, {195, false, Success}, {196, false, CorruptStream},
        {193, true, Success}, {194, true, CorruptStream},
    };
    for (const auto& fill : fills) {
        const Bytes stream = filling(fill.singles, fill.endsWithAString);
        Result result = decode(bytesOf(stream), stream.size());
        EXPECT_EQ(result.status, fill.status) << fill.singles << (fill.endsWithAString ? " and a string" : "");
        EXPECT_LE(result.length, DecodeBufferSize);
        if (fill.status == Success) EXPECT_EQ(outputOf(result), Bytes(result.length, 'z'));
    }
    EXPECT_EQ(decoded(filling(195, false)).size(), DecodeBufferSize);
}

}  // namespace
}  // namespace kelvo::lzw
