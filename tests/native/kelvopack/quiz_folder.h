// A temporary folder holding a quiz source and small media files, removed
// when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace kelvo::pack::testing {

class QuizFolder {
public:
    QuizFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path = std::filesystem::temp_directory_path() /
               (std::string("kelvopack-") + test->test_suite_name() + "-" + test->name() + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        write("q.jpg", std::string("\xFF\xD8\xFF\xE0jpeg", 8));
        write("q.gif", "GIF89a-gif-bytes");
        write("q.bmp", "BM" + std::string(40, '\0'));
        write("not-a-picture.jpg", "\x89PNG\r\n\x1A\n-png");
        write("clip.mp3", "ID3-clip");
        write("empty.gif", "");
    }
    ~QuizFolder() { std::filesystem::remove_all(path); }

    std::filesystem::path write(const std::string& name, const std::string& content) const {
        std::ofstream(path / name, std::ios::binary) << content;
        return path / name;
    }

    std::filesystem::path path;
};

}  // namespace kelvo::pack::testing
