#include "question_panel/saved_answers.h"

#include "quiz/text.h"

namespace kelvo {

std::string savedAnswersFileName(const std::string& executablePath) {
    std::size_t slash = executablePath.find_last_of('\\');
    std::string name = slash == std::string::npos ? executablePath : executablePath.substr(slash + 1);
    std::size_t keep = name.size() >= 3 ? name.size() - 3 : 0;
    return name.substr(0, keep) + "txt";
}

std::string perUserAnswersFileName(const std::string& executableName, const std::string& quizIdentity) {
    std::string stem = executableName;
    if (stem.size() > 4) {
        std::string extension = stem.substr(stem.size() - 4);
        for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        if (extension == ".exe") stem.resize(stem.size() - 4);
    }
    return stem + "-" + quizIdentity + ".txt";
}

AnswersCopy answersCopyToRead(std::optional<std::uint64_t> currentFolderWriteTime,
                              std::optional<std::uint64_t> perUserWriteTime) {
    if (!perUserWriteTime) return AnswersCopy::CurrentFolder;
    if (!currentFolderWriteTime) return AnswersCopy::PerUser;
    return *perUserWriteTime > *currentFolderWriteTime ? AnswersCopy::PerUser : AnswersCopy::CurrentFolder;
}

std::string SavedAnswersReader::nextLine() {
    std::string line;
    while (position < size && content[position] != '\r') {
        // Stop copying at the limit but keep scanning: a file with LF-only
        // ends would otherwise hand one box the whole file.
        if (content[position] != 0 && line.size() < static_cast<std::size_t>(MaxTextLength))
            line.push_back(static_cast<char>(content[position]));
        ++position;
    }
    if (position < size) {
        while (position < size && content[position] != '\n') ++position;
        ++position;
    }
    return line;
}

std::string formatSavedAnswers(const std::vector<std::string>& answers) {
    std::string bytes;
    for (const std::string& answer : answers) {
        bytes.append(answer, 0, MaxTextLength);
        bytes += "\r\n";
    }
    return bytes;
}

}  // namespace kelvo
