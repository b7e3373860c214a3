#include "quiz/quiz.h"

namespace kelvo {

void QuestionList::append(const char* answer, const char* secondAnswer, const char* prompt) {
    auto* node = new Question;
    copyText(node->answer, answer);
    copyText(node->secondAnswer, secondAnswer);
    copyText(node->prompt, prompt);
    node->previous = lastQuestion;
    if (lastQuestion != nullptr) lastQuestion->next = node;
    if (firstQuestion == nullptr) firstQuestion = node;
    lastQuestion = node;
}

Question* QuestionList::at(int n) const {
    Question* node = firstQuestion;
    for (int step = 1; step < n && node != nullptr && node->next != nullptr; ++step) node = node->next;
    return node;
}

void QuestionList::clear() {
    Question* node = firstQuestion;
    while (node != nullptr) {
        Question* next = node->next;
        delete node;
        node = next;
    }
    firstQuestion = nullptr;
    lastQuestion = nullptr;
}

Quiz::Quiz(DrawingObjects& drawingObjects) : drawing(drawingObjects) {
    scoreFont = drawing.makeFont(QuizFonts::Score);
    titleFont = drawing.makeFont(QuizFonts::Title);
    backBrush = drawing.makeSolidBrush(color());
    wrongBrush = drawing.makeSolidBrush(QuizColors::Wrong);
    rightBrush = drawing.makeSolidBrush(QuizColors::Right);
    anagramBrush = drawing.makeSolidBrush(QuizColors::Anagram);
    closeBrush = drawing.makeSolidBrush(QuizColors::Close);
    promptBrush = drawing.makeSolidBrush(QuizColors::Prompt);
}

Quiz::~Quiz() {
    drawing.release(backBrush);
    drawing.release(wrongBrush);
    drawing.release(rightBrush);
    drawing.release(anagramBrush);
    drawing.release(closeBrush);
    drawing.release(promptBrush);
    drawing.release(titleFont);
    if (questionFont != nullptr) drawing.release(questionFont);
    drawing.release(scoreFont);
    questions.clear();
}

void Quiz::setColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    colorRed = red;
    colorGreen = green;
    colorBlue = blue;
    DrawingHandle previous = backBrush;
    backBrush = drawing.makeSolidBrush(color());
    drawing.release(previous);
}

void Quiz::createQuestionFont() {
    if (questionFont == nullptr) questionFont = drawing.makeFont(QuizFonts::Question);
}

}  // namespace kelvo
