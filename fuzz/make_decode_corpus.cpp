// Writes the seed streams of the decoder's corpus: small streams that reach
// every code of the format (single bytes, added strings, a code equal to the
// next free one, widening, the reset after a full dictionary) and the shapes
// of the two quiz resources; and two hand-made streams one code short of the
// decoder's limits, the full dictionary and the full output, so that small
// mutations cross them.
#include <cstdint>
#include <cstdio>
#include <string>

#include "quiz/lzw_codec.h"

namespace {

using namespace kelvo::lzw;

// Packs codes most significant bit first, widening as the encoder does.
class StreamBuilder {
public:
    void code(std::uint32_t value) {
        while ((value >> width) != 0) put(WidenCode), ++width;
        put(value);
    }
    std::string end() {
        put(EndCode);
        return bytes;
    }

private:
    void put(std::uint32_t value) {
        for (unsigned bit = width; bit-- > 0; ++bitCount) {
            if (bitCount % 8 == 0) bytes.push_back(0);
            if ((value >> bit) & 1) bytes.back() = static_cast<char>(bytes.back() | (0x80 >> (bitCount % 8)));
        }
    }
    std::string bytes;
    std::size_t bitCount = 0;
    unsigned width = StartWidth;
};

// 'a' then 3837 more: every code after the first adds a string, up to slot 4095.
std::string fullDictionary() {
    StreamBuilder stream;
    for (std::uint32_t i = 0; i <= DictionarySize - FirstAddedCode; ++i) stream.code('a');
    return stream.end();
}

// Each code equal to the next free one is the string before plus one byte:
// 1 + 2 + ... + 489 = 119805 bytes, one code short of overflowing.
std::string fullOutput() {
    StreamBuilder stream;
    stream.code('z');
    for (std::uint32_t code = FirstAddedCode; code < FirstAddedCode + 488; ++code) stream.code(code);
    return stream.end();
}

bool writeFile(const std::string& folder, const char* name, const std::string& bytes) {
    std::FILE* file = std::fopen((folder + "/" + name).c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

bool writeStream(const std::string& folder, const char* name, const std::string& input) {
    const auto result = encode(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
    return result.status == Success &&
           writeFile(folder, name, std::string(reinterpret_cast<const char*>(result.output.get()), result.length));
}

// A quiz resource: kind, counts, header fields, questions, reveal mode and colour.
std::string quizResource() {
    std::string quiz = std::string("\x01\x01\x03\x01", 4) + "Capitales|Kelvo|Trouvez les capitales|Ville||";
    const char* const questions[][2] = {{"PARIS", "France"}, {"ROME", "Italie"}, {"MADRID", "Espagne"}};
    for (const auto& question : questions) quiz += std::string(question[0]) + "|" + question[1] + "|";
    quiz += "\x02" "Bravo !|Tr\xE8s bien|Parfait|";
    return quiz + "\x35\xCB\xA3";
}

// Text that keeps adding strings: numbered French sentences.
std::string sentences(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "Question " + std::to_string(i) + " : quelle est la r\xE9ponse num\xE9ro " +
                std::to_string(i * 7919 % 100003) + " ?\r\n";
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const bool written = writeStream(folder, "abc", "abc") && writeStream(folder, "abab", "abab") &&
                         writeStream(folder, "aaa", "aaa") && writeStream(folder, "quiz", quizResource()) &&
                         writeStream(folder, "codes", "CODE1\r\nCODE2\r\n\r\nFIN\r\n") &&
                         writeStream(folder, "widened", sentences(40)) && writeStream(folder, "reset", sentences(800)) &&
                         writeFile(folder, "full_dictionary", fullDictionary()) &&
                         writeFile(folder, "full_output", fullOutput());
    return written ? 0 : 1;
}
