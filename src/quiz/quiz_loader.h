// Fills the quiz from the two compressed PATCH resources of the executable,
// or with the demonstration quiz when there is no quiz data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "quiz/message_sink.h"
#include "quiz/quiz.h"

namespace kelvo {

namespace LoaderTexts {
constexpr const char* Caption = "Kelvo";
constexpr const char* QuizUndecodable = "Erreur dans le d\xE9" "cryptage des reponses";
constexpr const char* CodesUndecodable = "Erreur dans le d\xE9" "cryptage des codes";
}  // namespace LoaderTexts

// The one thing the loader needs from the platform: the bytes of resource
// ("PATCH", id) of the running executable, empty when it is absent.
class QuizResourceSource {
public:
    virtual ~QuizResourceSource() = default;
    virtual std::vector<std::uint8_t> patchResource(int id) = 0;
};

void loadQuiz(Quiz& quiz, QuizResourceSource& resources, MessageSink& messages);

// The parsing steps on already decoded bytes, exposed for tests and fuzzing.
// Returns false when the data ends early or holds counts the player cannot
// show; the quiz is then left with its constructor values and no questions.
bool parseQuizData(Quiz& quiz, const std::uint8_t* data, std::size_t size);
void parseCodes(Quiz& quiz, const std::uint8_t* data, std::size_t size);
void fillDemonstrationQuiz(Quiz& quiz);

}  // namespace kelvo
