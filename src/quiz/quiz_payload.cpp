#include "quiz/quiz_payload.h"

#include "quiz/quiz.h"

namespace kelvo::payload {
namespace {

void appendField(Bytes& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(FieldEnd);
}

bool revealModeStoresTwoFields(int revealMode) { return revealMode == RevealMode::TextAndPicture; }

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    bool byte(int& value) {
        if (position >= size) return false;
        value = data[position++];
        return true;
    }
    bool field(std::string& text) { return upTo(FieldEnd, 1, text); }
    // The byte after the CR is stepped over whatever it is.
    bool codeLine(std::string& text) { return upTo(CodeLineEnd, 2, text); }

private:
    bool upTo(std::uint8_t end, std::size_t skip, std::string& text) {
        std::size_t stop = position;
        while (stop < size && data[stop] != end) ++stop;
        if (stop >= size) return false;
        text.assign(data + position, data + stop);
        position = stop + skip;
        return true;
    }

    const std::uint8_t* data;
    std::size_t size;
    std::size_t position = 0;
};

bool readHeader(Reader& reader, QuizHeader& header, int& questionCount) {
    int version = 0, kindByte = 0;
    if (!reader.byte(version) || !reader.byte(kindByte) || !reader.byte(questionCount) ||
        !reader.byte(header.answersPerQuestion)) {
        return false;
    }
    header.kind = kindByte - 1;
    if (questionCount > MaxQuestions || (header.answersPerQuestion != 1 && header.answersPerQuestion != 2)) return false;
    for (std::string* text : {&header.title, &header.author, &header.explanation, &header.firstCaption, &header.secondCaption}) {
        if (!reader.field(*text)) return false;
    }
    return true;
}

bool readQuestion(Reader& reader, int answersPerQuestion, QuestionTexts& question) {
    return reader.field(question.answer) && (answersPerQuestion != 2 || reader.field(question.secondAnswer)) &&
           reader.field(question.prompt);
}

bool readRevealTexts(Reader& reader, int revealMode, std::vector<QuestionTexts>& questions) {
    if (!revealModeStoresTexts(revealMode)) return true;
    std::string unused;
    for (QuestionTexts& question : questions) {
        if (!reader.field(question.revealText)) return false;
        if (revealModeStoresTwoFields(revealMode) && !reader.field(unused)) return false;
    }
    return true;
}

bool readColour(Reader& reader, QuizHeader& header) {
    int red = 0, green = 0, blue = 0;
    if (!reader.byte(red) || !reader.byte(green) || !reader.byte(blue)) return false;
    header.red = static_cast<std::uint8_t>(red);
    header.green = static_cast<std::uint8_t>(green);
    header.blue = static_cast<std::uint8_t>(blue);
    return true;
}

}  // namespace

bool revealModeStoresTexts(int revealMode) {
    return revealMode == RevealMode::Text || revealMode == RevealMode::TextAndPicture || revealMode == RevealMode::AllAtEnd;
}

Bytes writeQuizData(const QuizHeader& header, const std::vector<QuestionTexts>& questions) {
    Bytes out;
    out.push_back(LayoutVersion);
    out.push_back(static_cast<std::uint8_t>(header.kind + 1));
    out.push_back(static_cast<std::uint8_t>(questions.size()));
    out.push_back(static_cast<std::uint8_t>(header.answersPerQuestion));
    for (const std::string* text : {&header.title, &header.author, &header.explanation, &header.firstCaption, &header.secondCaption}) {
        appendField(out, *text);
    }
    for (const QuestionTexts& question : questions) {
        appendField(out, question.answer);
        if (header.answersPerQuestion == 2) appendField(out, question.secondAnswer);
        appendField(out, question.prompt);
    }
    out.push_back(static_cast<std::uint8_t>(header.revealMode));
    if (revealModeStoresTexts(header.revealMode)) {
        for (const QuestionTexts& question : questions) {
            appendField(out, question.revealText);
            // The player reads past this second field without using it.
            if (revealModeStoresTwoFields(header.revealMode)) appendField(out, "");
        }
    }
    out.push_back(header.red);
    out.push_back(header.green);
    out.push_back(header.blue);
    return out;
}

Bytes writeCodes(const std::vector<std::string>& codes, std::size_t questionCount) {
    Bytes out;
    for (std::size_t k = 0; k < questionCount; ++k) {
        if (k < codes.size()) out.insert(out.end(), codes[k].begin(), codes[k].end());
        out.push_back(CodeLineEnd);
        out.push_back(CodeLineFeed);
    }
    return out;
}

// Everything is read before the caller stores anything, so data that ends
// early never leaves a half-built quiz behind.
bool readQuizData(const std::uint8_t* data, std::size_t size, StoredQuiz& quiz) {
    Reader reader(data, size);
    int questionCount = 0;
    if (!readHeader(reader, quiz.header, questionCount)) return false;
    quiz.questions.assign(static_cast<std::size_t>(questionCount), QuestionTexts{});
    for (QuestionTexts& question : quiz.questions) {
        if (!readQuestion(reader, quiz.header.answersPerQuestion, question)) return false;
    }
    return reader.byte(quiz.header.revealMode) && readRevealTexts(reader, quiz.header.revealMode, quiz.questions) &&
           readColour(reader, quiz.header);
}

std::size_t readCodes(const std::uint8_t* data, std::size_t size, std::size_t count, std::vector<std::string>& codes) {
    Reader reader(data, size);
    codes.assign(count, std::string{});
    for (std::size_t k = 0; k < count; ++k) {
        if (!reader.codeLine(codes[k])) return k;
    }
    return count;
}

}  // namespace kelvo::payload
