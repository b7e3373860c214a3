// The one in-memory quiz: header texts, settings, codes, colours with the
// drawing objects made from them, and the doubly linked question list.
#pragma once

#include <cstdint>

#include "quiz/drawing_objects.h"
#include "quiz/text.h"

namespace kelvo {

constexpr int MaxQuestions = 96;
constexpr int MediaFolderSize = 512;

// Stored as plain 32-bit integers: the loader keeps kind bytes outside the
// known range, and the panel then simply builds nothing for them.
namespace QuizKind {
enum : std::int32_t { Text = 0, Picture = 1, Audio = 2, Video = 3 };
}

namespace RevealMode {
enum : std::int32_t { None = 0, Picture = 1, Text = 2, TextAndPicture = 3, AllAtEnd = 4 };
}

constexpr std::uint32_t colorRef(unsigned red, unsigned green, unsigned blue) {
    return red + 256u * green + 65536u * blue;
}

namespace QuizColors {
constexpr std::uint32_t Wrong = 0x0000ff;
constexpr std::uint32_t Right = 0x00ff00;
constexpr std::uint32_t Anagram = 0x0064ff;
constexpr std::uint32_t Close = 0x26cbff;
constexpr std::uint32_t Prompt = 0xc0ffff;
}  // namespace QuizColors

namespace QuizFonts {
constexpr FontDescription Score{25, 400, false, false};
constexpr FontDescription Title{-15, 700, true, false};
constexpr FontDescription Question{15, 100, false, false};
}  // namespace QuizFonts

struct Question {
    char answer[TextSize] = {};
    char secondAnswer[TextSize] = {};
    char prompt[TextSize] = {};
    char revealText[TextSize] = {};
    Question* previous = nullptr;
    Question* next = nullptr;
};

// Owns the nodes; they are only ever appended, and released all at once.
class QuestionList {
public:
    QuestionList() = default;
    QuestionList(const QuestionList&) = delete;
    QuestionList& operator=(const QuestionList&) = delete;
    ~QuestionList() { clear(); }

    void append(const char* answer, const char* secondAnswer, const char* prompt);
    // Question n counting from 1; past the end the last node, empty list none.
    Question* at(int n) const;
    void clear();

    Question* firstQuestion = nullptr;
    Question* lastQuestion = nullptr;
};

class Quiz {
public:
    explicit Quiz(DrawingObjects& drawing);
    Quiz(const Quiz&) = delete;
    Quiz& operator=(const Quiz&) = delete;
    ~Quiz();

    void addQuestion(const char* answer, const char* secondAnswer, const char* prompt) {
        questions.append(answer, secondAnswer, prompt);
    }
    Question* questionAt(int n) const { return questions.at(n); }
    Question* firstQuestion() const { return questions.firstQuestion; }
    Question* lastQuestion() const { return questions.lastQuestion; }

    std::uint32_t color() const { return colorRef(colorRed, colorGreen, colorBlue); }
    // Replaces backBrush with one of the current colour, releasing the old one.
    void setColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    void createQuestionFont();

    std::int32_t kind = QuizKind::Text;
    char title[TextSize] = "nom du kelvo";
    char author[TextSize] = " createur";
    char explanation[TextSize] = {};
    char firstAnswerLabel[TextSize] = {};
    char secondAnswerLabel[TextSize] = {};
    std::int32_t questionCount = 2;
    std::int32_t answersPerQuestion = 1;
    char codes[MaxQuestions][TextSize] = {};
    std::int32_t revealMode = RevealMode::None;
    DrawingHandle questionFont = nullptr;
    DrawingHandle scoreFont = nullptr;
    DrawingHandle titleFont = nullptr;
    std::int32_t allCorrect = 0;
    std::uint8_t colorRed = 90;
    std::uint8_t colorBlue = 150;
    std::uint8_t colorGreen = 95;
    DrawingHandle backBrush = nullptr;
    DrawingHandle wrongBrush = nullptr;
    DrawingHandle rightBrush = nullptr;
    DrawingHandle anagramBrush = nullptr;
    DrawingHandle closeBrush = nullptr;
    DrawingHandle promptBrush = nullptr;
    void* headerPanel = nullptr;  // the header panel's window
    char mediaFolder[MediaFolderSize] = {};

private:
    DrawingObjects& drawing;
    QuestionList questions;
};

}  // namespace kelvo
