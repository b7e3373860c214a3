// The byte layout of the two quiz resources once decoded, in one place: the
// quiz (PATCH 104: kind, counts, header texts, questions, reveal texts,
// colour) and the codes (PATCH 105: one line per score). The player's loader
// reads it; the authoring tool writes it and reads it back to extract.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kelvo::payload {

using Bytes = std::vector<std::uint8_t>;

// Every text field ends with this byte, which no field may contain.
constexpr std::uint8_t FieldEnd = '|';
// Every code line ends with CR LF; the reader steps over the byte after the CR.
constexpr std::uint8_t CodeLineEnd = '\r';
constexpr std::uint8_t CodeLineFeed = '\n';
// Byte 0 of the quiz data, which the player does not read: the layout
// version of what the authoring tool writes.
constexpr std::uint8_t LayoutVersion = 1;
// The largest decoded payload the codec compresses (a 16-bit read position).
constexpr std::size_t MaxSize = 65535;

struct QuizHeader {
    int kind = 0;                 // QuizKind; stored as kind + 1
    int revealMode = 0;           // RevealMode
    int answersPerQuestion = 1;   // 1 or 2
    std::string title;
    std::string author;
    std::string explanation;
    std::string firstCaption;
    std::string secondCaption;
    std::uint8_t red = 90;
    std::uint8_t green = 95;
    std::uint8_t blue = 150;
};

struct QuestionTexts {
    std::string answer;
    std::string secondAnswer;   // stored only with two answers per question
    std::string prompt;
    std::string revealText;     // stored only by the reveal modes that show texts
};

struct StoredQuiz {
    QuizHeader header;
    std::vector<QuestionTexts> questions;
};

bool revealModeStoresTexts(int revealMode);

Bytes writeQuizData(const QuizHeader& header, const std::vector<QuestionTexts>& questions);
// One line per question: codes[k] for k + 1 right questions, empty past the list.
Bytes writeCodes(const std::vector<std::string>& codes, std::size_t questionCount);

// Walks the data by its terminators, never past the end. Fails when the data
// ends early, or when its counts are ones the layout cannot hold (more than
// 96 questions, answers per question other than 1 or 2). Kind and reveal mode
// are handed back as stored, for the caller to judge.
bool readQuizData(const std::uint8_t* data, std::size_t size, StoredQuiz& quiz);
// Reads up to `count` code lines; returns how many were complete.
std::size_t readCodes(const std::uint8_t* data, std::size_t size, std::size_t count, std::vector<std::string>& codes);

}  // namespace kelvo::payload
