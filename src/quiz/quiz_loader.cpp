#include "quiz/quiz_loader.h"

#include <algorithm>
#include <string>

#include "quiz/lzw_codec.h"
#include "quiz/quiz_payload.h"
#include "resources/resource_ids.h"

namespace kelvo {
// Texts longer than a quiz text can hold are cut to 259 bytes.
bool parseQuizData(Quiz& quiz, const std::uint8_t* data, std::size_t size) {
    payload::StoredQuiz stored;
    if (!payload::readQuizData(data, size, stored)) return false;
    const payload::QuizHeader& header = stored.header;
    quiz.kind = header.kind;
    quiz.questionCount = static_cast<int>(stored.questions.size());
    quiz.answersPerQuestion = header.answersPerQuestion;
    copyText(quiz.title, header.title.c_str(), header.title.size());
    copyText(quiz.author, header.author.c_str(), header.author.size());
    copyText(quiz.explanation, header.explanation.c_str(), header.explanation.size());
    copyText(quiz.firstAnswerLabel, header.firstCaption.c_str(), header.firstCaption.size());
    copyText(quiz.secondAnswerLabel, header.secondCaption.c_str(), header.secondCaption.size());
    for (const payload::QuestionTexts& question : stored.questions) {
        char answer[TextSize], secondAnswer[TextSize], prompt[TextSize];
        copyText(answer, question.answer.c_str(), question.answer.size());
        copyText(secondAnswer, question.secondAnswer.c_str(), question.secondAnswer.size());
        copyText(prompt, question.prompt.c_str(), question.prompt.size());
        quiz.addQuestion(answer, secondAnswer, prompt);
        copyText(quiz.lastQuestion()->revealText, question.revealText.c_str(), question.revealText.size());
    }
    quiz.revealMode = header.revealMode;
    quiz.setColor(header.red, header.green, header.blue);
    return true;
}

// Codes data that ends early keeps the lines read so far.
void parseCodes(Quiz& quiz, const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> codes;
    const std::size_t count = static_cast<std::size_t>(std::min(quiz.questionCount, MaxQuestions));
    const std::size_t read = payload::readCodes(data, size, count, codes);
    for (std::size_t k = 0; k < read; ++k) copyText(quiz.codes[k], codes[k].c_str(), codes[k].size());
}

void fillDemonstrationQuiz(Quiz& quiz) {
    copyText(quiz.title, "Nom du kelvo");
    copyText(quiz.author, "Createur kelvo");
    copyText(quiz.explanation, "Explications du kelvo");
    copyText(quiz.firstAnswerLabel, "TEST");
    copyText(quiz.secondAnswerLabel, "TEST");
    quiz.answersPerQuestion = 1;
    quiz.revealMode = RevealMode::TextAndPicture;
    quiz.setColor(53, 203, 163);
    quiz.questionCount = 7;  // two nodes: questions 2 to 7 all show the second
    quiz.kind = QuizKind::Text;
    quiz.addQuestion("test", "test", "emplacement");
    quiz.addQuestion("test", "test", "emplacement");
}

void loadQuiz(Quiz& quiz, QuizResourceSource& resources, MessageSink& messages) {
    std::vector<std::uint8_t> quizData = resources.patchResource(ResourceIds::QuizData);
    if (quizData.empty()) {
        fillDemonstrationQuiz(quiz);
        return;
    }
    lzw::Result decoded = lzw::decode(quizData.data(), quizData.size(), &messages);
    if (decoded.status != lzw::Success || !parseQuizData(quiz, decoded.output.get(), decoded.length)) {
        messages.showMessage(LoaderTexts::QuizUndecodable, LoaderTexts::Caption);
        quiz.questionCount = 0;
        return;
    }
    std::vector<std::uint8_t> codesData = resources.patchResource(ResourceIds::CodesData);
    lzw::Result codes = lzw::decode(codesData.data(), codesData.size(), &messages);
    if (codes.status != lzw::Success) {
        messages.showMessage(LoaderTexts::CodesUndecodable, LoaderTexts::Caption);
        return;
    }
    parseCodes(quiz, codes.output.get(), codes.length);
}

}  // namespace kelvo
