// The saved-answers file: one ANSI line per answer box, CR LF ended, in the
// order of the box identifiers, named after the executable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kelvo {

// "C:\\quiz\\player.exe" gives "player.txt": the name without folders, its
// last three characters replaced by "txt" whatever they are.
std::string savedAnswersFileName(const std::string& executablePath);

// Hands out the lines of a file's content one by one. A line ends at CR and
// everything up to the next LF is skipped; zero bytes are dropped; a line
// keeps at most 259 bytes; past the end every line is empty.
// The reader does not own the bytes (the file stays mapped while it reads).
class SavedAnswersReader {
public:
    SavedAnswersReader() = default;
    SavedAnswersReader(const std::uint8_t* content, std::size_t size) : content(content), size(size) {}
    std::string nextLine();

private:
    const std::uint8_t* content = nullptr;
    std::size_t size = 0;
    std::size_t position = 0;
};

// The file's bytes for the given box texts (each cut to 259 bytes).
std::string formatSavedAnswers(const std::vector<std::string>& answers);

}  // namespace kelvo
