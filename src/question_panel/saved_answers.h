// The saved-answers file: one ANSI line per answer box, CR LF ended, in the
// order of the box identifiers, named after the executable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvo {

// "C:\\quiz\\player.exe" gives "player.txt": the name without folders, its
// last three characters replaced by "txt" whatever they are.
std::string savedAnswersFileName(const std::string& executablePath);

// The name of the copy kept in the per-user folder when the current folder
// cannot be written: "player-0123456789abcdef.txt" for player.exe and the
// quiz identity 0123456789abcdef, so two quizzes of one name never meet.
std::string perUserAnswersFileName(const std::string& executableName, const std::string& quizIdentity);

enum class AnswersCopy { CurrentFolder, PerUser };

// The copy read at start: the one written last; the current folder's when
// the times are equal or neither exists. A time is absent when the copy is.
AnswersCopy answersCopyToRead(std::optional<std::uint64_t> currentFolderWriteTime,
                              std::optional<std::uint64_t> perUserWriteTime);

namespace SavedAnswersTexts {
constexpr const char* Caption = "Kelvo";
// F2 and "Sauver" when no folder takes the answers.
constexpr const char* NotSaved =
    "Vos r\xE9" "ponses n'ont pu \xEA" "tre enregistr\xE9" "es ni dans le dossier du quiz ni dans votre dossier "
    "personnel.\n\nElles restent dans les cases ; Kelvo essaiera encore \xE0" " la fermeture.";
}  // namespace SavedAnswersTexts

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
