#include "quiz/quiz_loader.h"

#include "quiz/lzw_codec.h"

namespace kelvo {
namespace {

// Walks decoded bytes front to back by their terminators, never past the end.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    bool byte(std::uint8_t& value) {
        if (position >= size) return false;
        value = data[position++];
        return true;
    }

    // A field ends at "|"; longer fields are cut to what a text can hold.
    template <std::size_t N>
    bool field(char (&text)[N]) {
        std::size_t start = position;
        while (position < size && data[position] != '|') ++position;
        if (position >= size) return false;
        copyText(text, reinterpret_cast<const char*>(data + start), position - start);
        ++position;
        return true;
    }

    bool skipField() {
        char ignored[TextSize];
        return field(ignored);
    }

    // A code line ends at CR, and one more byte (the LF) is stepped over.
    template <std::size_t N>
    bool line(char (&text)[N]) {
        std::size_t start = position;
        while (position < size && data[position] != '\r') ++position;
        if (position >= size) return false;
        copyText(text, reinterpret_cast<const char*>(data + start), position - start);
        position += 2;
        return true;
    }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position = 0;
};

struct Header {
    std::uint8_t kindByte = 0;
    std::uint8_t questionCount = 0;
    std::uint8_t answersPerQuestion = 0;
    char title[TextSize] = {};
    char author[TextSize] = {};
    char explanation[TextSize] = {};
    char firstAnswerLabel[TextSize] = {};
    char secondAnswerLabel[TextSize] = {};
};

struct QuestionTexts {
    char answer[TextSize] = {};
    char secondAnswer[TextSize] = {};
    char prompt[TextSize] = {};
    char revealText[TextSize] = {};
};

bool readHeader(ByteReader& reader, Header& header) {
    std::uint8_t unused;
    return reader.byte(unused) && reader.byte(header.kindByte) && reader.byte(header.questionCount) &&
           reader.byte(header.answersPerQuestion) && header.questionCount <= MaxQuestions &&
           (header.answersPerQuestion == 1 || header.answersPerQuestion == 2) && reader.field(header.title) &&
           reader.field(header.author) && reader.field(header.explanation) &&
           reader.field(header.firstAnswerLabel) && reader.field(header.secondAnswerLabel);
}

bool readQuestion(ByteReader& reader, int answersPerQuestion, QuestionTexts& question) {
    if (!reader.field(question.answer)) return false;
    if (answersPerQuestion == 2 && !reader.field(question.secondAnswer)) return false;
    return reader.field(question.prompt);
}

bool readRevealTexts(ByteReader& reader, std::uint8_t revealMode, std::vector<QuestionTexts>& questions) {
    bool withSecondField = revealMode == RevealMode::TextAndPicture;
    bool withTexts = withSecondField || revealMode == RevealMode::Text || revealMode == RevealMode::AllAtEnd;
    if (!withTexts) return true;
    for (auto& question : questions) {
        if (!reader.field(question.revealText)) return false;
        if (withSecondField && !reader.skipField()) return false;
    }
    return true;
}

}  // namespace

// Everything is read before anything is stored, so data that ends early
// never leaves a half-built question list behind.
bool parseQuizData(Quiz& quiz, const std::uint8_t* data, std::size_t size) {
    ByteReader reader(data, size);
    Header header;
    if (!readHeader(reader, header)) return false;
    std::vector<QuestionTexts> questions(header.questionCount);
    for (auto& question : questions)
        if (!readQuestion(reader, header.answersPerQuestion, question)) return false;
    std::uint8_t revealMode, red, green, blue;
    if (!reader.byte(revealMode) || !readRevealTexts(reader, revealMode, questions)) return false;
    if (!reader.byte(red) || !reader.byte(green) || !reader.byte(blue)) return false;

    quiz.kind = header.kindByte - 1;
    quiz.questionCount = header.questionCount;
    quiz.answersPerQuestion = header.answersPerQuestion;
    copyText(quiz.title, header.title);
    copyText(quiz.author, header.author);
    copyText(quiz.explanation, header.explanation);
    copyText(quiz.firstAnswerLabel, header.firstAnswerLabel);
    copyText(quiz.secondAnswerLabel, header.secondAnswerLabel);
    for (const auto& question : questions) {
        quiz.addQuestion(question.answer, question.secondAnswer, question.prompt);
        copyText(quiz.lastQuestion()->revealText, question.revealText);
    }
    quiz.revealMode = revealMode;
    quiz.setColor(red, green, blue);
    return true;
}

// Codes data that ends early keeps the lines read so far.
void parseCodes(Quiz& quiz, const std::uint8_t* data, std::size_t size) {
    ByteReader reader(data, size);
    for (int k = 0; k < quiz.questionCount && k < MaxQuestions; ++k)
        if (!reader.line(quiz.codes[k])) break;
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
    std::vector<std::uint8_t> quizData = resources.patchResource(PatchIds::Quiz);
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
    std::vector<std::uint8_t> codesData = resources.patchResource(PatchIds::Codes);
    lzw::Result codes = lzw::decode(codesData.data(), codesData.size(), &messages);
    if (codes.status != lzw::Success) {
        messages.showMessage(LoaderTexts::CodesUndecodable, LoaderTexts::Caption);
        return;
    }
    parseCodes(quiz, codes.output.get(), codes.length);
}

}  // namespace kelvo
