// The loader on any bytes: as decoded quiz and codes data, and as the
// compressed resources themselves. It must stay inside the data, keep the
// record within its limits, and never leave a half-built question list.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "quiz/quiz_loader.h"

using namespace kelvo;

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

class CountingDrawing : public DrawingObjects {
public:
    DrawingHandle makeFont(const FontDescription&) override { return make(); }
    DrawingHandle makeSolidBrush(std::uint32_t) override { return make(); }
    void release(DrawingHandle) override { --live; }
    int live = 0;

private:
    DrawingHandle make() {
        ++live;
        return reinterpret_cast<DrawingHandle>(static_cast<std::uintptr_t>(live + 1));
    }
};

class Silent : public MessageSink {
public:
    void showMessage(const char*, const char*) override { ++shown; }
    int shown = 0;
};

class Resources : public QuizResourceSource {
public:
    Resources(const std::uint8_t* data, std::size_t size) : bytes(data, data + size) {}
    std::vector<std::uint8_t> patchResource(int) override { return bytes; }
    std::vector<std::uint8_t> bytes;
};

int listLength(const Quiz& quiz) {
    int length = 0;
    for (const Question* node = quiz.firstQuestion(); node != nullptr; node = node->next) ++length;
    return length;
}

void checkRecord(const Quiz& quiz) {
    require(quiz.questionCount >= 0 && quiz.questionCount <= MaxQuestions);
    require(quiz.answersPerQuestion == 1 || quiz.answersPerQuestion == 2);
    const int nodes = listLength(quiz);
    require(nodes == 0 || nodes == quiz.questionCount || quiz.questionCount == 7);  // 7: the demonstration
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        CountingDrawing drawing;
        {
            Quiz quiz(drawing);
            if (parseQuizData(quiz, data, size)) {
                require(listLength(quiz) == quiz.questionCount);
                parseCodes(quiz, data, size);
            } else {
                require(quiz.firstQuestion() == nullptr && quiz.questionCount == 2);
            }
            checkRecord(quiz);
        }
        require(drawing.live == 0);
    }
    {
        CountingDrawing drawing;
        Silent messages;
        Resources resources(data, size);
        {
            Quiz quiz(drawing);
            loadQuiz(quiz, resources, messages);
            checkRecord(quiz);
            require(messages.shown <= 1);
        }
        require(drawing.live == 0);
    }
    return 0;
}
