// A temporary folder holding a quiz source and small media files, removed
// when the test ends, the pictures the tests write with stb, and a quiz with
// every optional part and texts a source must quote with care.
#pragma once

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "core/packed_quiz.h"
#include "quiz/quiz.h"

namespace kelvo::pack::testing {

// Each pixel from `colour(x, y)` as 0xTTRRGGBB, TT its transparency (0
// opaque, 0xFF invisible; PNG only). format: 'j' JPEG (quality 90,
// baseline) or 'p' PNG.
inline std::string writtenPicture(char format, int width, int height, const std::function<std::uint32_t(int, int)>& colour) {
    const int channels = format == 'p' ? 4 : 3;
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = colour(x, y);
            pixels.insert(pixels.end(), {std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)});
            if (channels == 4) pixels.push_back(std::uint8_t(255 - (c >> 24)));
        }
    }
    std::string out;
    const auto append = [](void* context, void* data, int size) { static_cast<std::string*>(context)->append(static_cast<char*>(data), size); };
    if (format == 'j') stbi_write_jpg_to_func(append, &out, width, height, channels, pixels.data(), 90);
    if (format == 'p') stbi_write_png_to_func(append, &out, width, height, channels, pixels.data(), width * channels);
    return out;
}

// Already at a size the player shows unchanged, so stored as it is: a grey
// ramp, like a photo, with too many colours for a palette.
inline const std::string& fittedJpeg() {
    static const std::string bytes = writtenPicture('j', 260, 195, [](int x, int y) { return 0x010101u * ((x + 2 * y) % 256); });
    return bytes;
}
// One white pixel: enlarged to 260 x 260 when prepared.
inline const std::string TinyGif("GIF89a\x01\0\x01\0\x80\0\0\xFF\xFF\xFF\0\0\0,\0\0\0\0\x01\0\x01\0\0\x02\x02\x44\x01\0;", 35);

inline PackedQuiz awkwardQuiz() {
    PackedQuiz quiz;
    quiz.kind = QuizKind::Picture;
    quiz.revealMode = RevealMode::TextAndPicture;
    quiz.answersPerQuestion = 2;
    quiz.title = "Le \"grand\" quiz # d\x92\xE9t\xE9";
    quiz.author = " C:\\Users\\prof";   // built quizzes carry the blank after "Par :"
    quiz.explanation = "ligne 1\r\nligne 2\ttab";
    quiz.firstCaption = "Nom";
    quiz.secondCaption = "Cri";
    quiz.red = 1;
    quiz.green = 0xAB;
    quiz.blue = 0xFF;
    quiz.codes = {"", "F\xC9LICITATIONS | 2"};
    const Bytes gif(TinyGif.begin(), TinyGif.end());
    const Bytes jpeg(fittedJpeg().begin(), fittedJpeg().end());
    quiz.questions = {
        {"1914", "\xE9t\xE9", "", "texte\nr\xE9v\xE9l\xE9", jpeg, gif},
        {"chat", "miaou", "", "", gif, gif},
    };
    return quiz;
}

class QuizFolder {
public:
    QuizFolder() {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        write("q.jpg", fittedJpeg());
        write("q.gif", TinyGif);
        write("clip.mp3", "ID3-clip");
    }
    ~QuizFolder() { std::filesystem::remove_all(path); }

    std::filesystem::path write(const std::string& name, const std::string& content) const {
        std::ofstream(path / name, std::ios::binary) << content;
        return path / name;
    }
    std::string read(const std::string& name) const {
        std::ifstream stream(path / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    }

    const std::filesystem::path path = std::filesystem::temp_directory_path() / ("kelvopack-test-" + std::to_string(::getpid()));
};

}  // namespace kelvo::pack::testing
