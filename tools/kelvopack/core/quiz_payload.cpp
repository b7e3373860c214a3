#include "core/quiz_payload.h"

#include "quiz/lzw_codec.h"
#include "quiz/quiz.h"

namespace kelvo::pack {

namespace {

constexpr std::uint8_t FieldEnd = '|';

void appendField(Bytes& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(FieldEnd);
}

bool revealsHaveTwoFields(int mode) { return mode == RevealMode::TextAndPicture; }
bool revealsHaveText(int mode) {
    return mode == RevealMode::Text || mode == RevealMode::TextAndPicture || mode == RevealMode::AllAtEnd;
}

// Walks decoded bytes by their terminators without ever reading past the end.
class PayloadReader {
public:
    explicit PayloadReader(const Bytes& data) : data(data) {}

    bool byte(int& value) {
        if (position >= data.size()) return false;
        value = data[position++];
        return true;
    }
    bool field(std::string& text) { return upTo(FieldEnd, 1, text); }
    bool codeLine(std::string& text) { return upTo('\r', 2, text); }

private:
    bool upTo(std::uint8_t end, std::size_t skip, std::string& text) {
        std::size_t stop = position;
        while (stop < data.size() && data[stop] != end) ++stop;
        if (stop >= data.size()) return false;
        text.assign(data.begin() + position, data.begin() + stop);
        position = stop + skip;
        return true;
    }

    const Bytes& data;
    std::size_t position = 0;
};

bool compress(const Bytes& payload, Bytes& stream, std::string& error, const char* what) {
    if (payload.size() > MaxPayloadSize) {
        error = std::string(what) + " fait " + std::to_string(payload.size()) +
                " octets une fois assemblé ; le lecteur en accepte au plus 65535 : raccourcissez des textes ou retirez des questions.";
        return false;
    }
    lzw::Result result = lzw::encode(payload.data(), payload.size());
    if (result.status != lzw::Success || result.output == nullptr) {
        error = std::string(what) + " ne se compresse pas dans la taille que le lecteur accepte (code " +
                std::to_string(result.status) + ") : raccourcissez des textes ou retirez des questions.";
        return false;
    }
    stream.assign(result.output.get(), result.output.get() + result.length);
    return true;
}

bool decompress(const Resource* resource, Bytes& payload, std::string& error, const char* what) {
    if (resource == nullptr || resource->data.empty()) {
        error = std::string("l'exécutable ne contient pas ") + what + " : ce n'est pas un quiz Kelvo construit.";
        return false;
    }
    lzw::Result result = lzw::decode(resource->data.data(), resource->data.size());
    if (result.status != lzw::Success || result.output == nullptr) {
        error = std::string(what) + " ne se décode pas (code " + std::to_string(result.status) + ").";
        return false;
    }
    payload.assign(result.output.get(), result.output.get() + result.length);
    return true;
}

Resource neutralResource(const ResourceName& type, std::uint16_t id, Bytes data) {
    return Resource{type, ResourceName::number(id), NeutralLanguage, std::move(data)};
}

}  // namespace

Bytes quizPayload(const PackedQuiz& quiz) {
    Bytes out;
    out.push_back(PayloadFormat);
    out.push_back(static_cast<std::uint8_t>(quiz.kind + 1));
    out.push_back(static_cast<std::uint8_t>(quiz.questions.size()));
    out.push_back(static_cast<std::uint8_t>(quiz.answersPerQuestion));
    for (const std::string* text : {&quiz.title, &quiz.author, &quiz.explanation, &quiz.firstCaption, &quiz.secondCaption}) {
        appendField(out, *text);
    }
    for (const PackedQuestion& question : quiz.questions) {
        appendField(out, question.answer);
        if (quiz.answersPerQuestion == 2) appendField(out, question.secondAnswer);
        appendField(out, question.prompt);
    }
    out.push_back(static_cast<std::uint8_t>(quiz.revealMode));
    if (revealsHaveText(quiz.revealMode)) {
        for (const PackedQuestion& question : quiz.questions) {
            appendField(out, question.revealText);
            // The player reads past this second field without using it.
            if (revealsHaveTwoFields(quiz.revealMode)) appendField(out, "");
        }
    }
    out.push_back(quiz.red);
    out.push_back(quiz.green);
    out.push_back(quiz.blue);
    return out;
}

Bytes codesPayload(const PackedQuiz& quiz) {
    Bytes out;
    for (std::size_t k = 0; k < quiz.questions.size(); ++k) {
        if (k < quiz.codes.size()) out.insert(out.end(), quiz.codes[k].begin(), quiz.codes[k].end());
        out.push_back('\r');
        out.push_back('\n');
    }
    return out;
}

bool makeQuizResources(const PackedQuiz& quiz, ResourceSet& resources, std::string& error) {
    Bytes quizStream;
    Bytes codesStream;
    if (!compress(quizPayload(quiz), quizStream, error, "Le quiz")) return false;
    if (!compress(codesPayload(quiz), codesStream, error, "La liste des codes")) return false;
    resources.push_back(neutralResource(ResourceTypes::patch(), QuizResourceIds::Quiz, std::move(quizStream)));
    resources.push_back(neutralResource(ResourceTypes::patch(), QuizResourceIds::Codes, std::move(codesStream)));
    for (std::size_t i = 0; i < quiz.questions.size(); ++i) {
        const auto number = static_cast<std::uint16_t>(i + 1);
        const PackedQuestion& question = quiz.questions[i];
        if (!question.picture.empty()) {
            resources.push_back(neutralResource(ResourceTypes::image(), QuizResourceIds::PictureBase + number, question.picture));
        }
        if (!question.revealPicture.empty()) {
            resources.push_back(neutralResource(ResourceTypes::image(), QuizResourceIds::RevealPictureBase + number,
                                                question.revealPicture));
        }
    }
    return true;
}

bool parsePayloads(const Bytes& quizData, const Bytes& codesData, PackedQuiz& quiz, std::string& error) {
    PayloadReader reader(quizData);
    int format = 0, kindByte = 0, count = 0, answers = 0;
    const auto truncated = [&error] {
        error = "les données du quiz s'arrêtent avant la fin.";
        return false;
    };
    if (!reader.byte(format) || !reader.byte(kindByte) || !reader.byte(count) || !reader.byte(answers)) return truncated();
    if (kindByte < 1 || kindByte > 4 || count > MaxQuestions || answers < 1 || answers > 2) {
        error = "les données du quiz annoncent une sorte, un nombre de questions ou de réponses que le lecteur ne sait pas montrer.";
        return false;
    }
    quiz.kind = kindByte - 1;
    quiz.answersPerQuestion = answers;
    for (std::string* text : {&quiz.title, &quiz.author, &quiz.explanation, &quiz.firstCaption, &quiz.secondCaption}) {
        if (!reader.field(*text)) return truncated();
    }
    quiz.questions.assign(count, PackedQuestion{});
    for (PackedQuestion& question : quiz.questions) {
        if (!reader.field(question.answer)) return truncated();
        if (answers == 2 && !reader.field(question.secondAnswer)) return truncated();
        if (!reader.field(question.prompt)) return truncated();
    }
    if (!reader.byte(quiz.revealMode)) return truncated();
    if (quiz.revealMode > RevealMode::AllAtEnd) {
        error = "les données du quiz annoncent un mode de révélation inconnu (" + std::to_string(quiz.revealMode) + ").";
        return false;
    }
    if (revealsHaveText(quiz.revealMode)) {
        std::string unused;
        for (PackedQuestion& question : quiz.questions) {
            if (!reader.field(question.revealText)) return truncated();
            if (revealsHaveTwoFields(quiz.revealMode) && !reader.field(unused)) return truncated();
        }
    }
    int red = 0, green = 0, blue = 0;
    if (!reader.byte(red) || !reader.byte(green) || !reader.byte(blue)) return truncated();
    quiz.red = static_cast<std::uint8_t>(red);
    quiz.green = static_cast<std::uint8_t>(green);
    quiz.blue = static_cast<std::uint8_t>(blue);

    PayloadReader codes(codesData);
    quiz.codes.assign(count, std::string{});
    for (std::string& code : quiz.codes) {
        if (!codes.codeLine(code)) {
            error = "la liste des codes s'arrête avant la fin.";
            return false;
        }
    }
    // Trailing empty codes are the same as no code: keep the source short.
    while (!quiz.codes.empty() && quiz.codes.back().empty()) quiz.codes.pop_back();
    return true;
}

bool readQuizResources(const ResourceSet& resources, PackedQuiz& quiz, std::string& error) {
    Bytes quizData;
    Bytes codesData;
    if (!decompress(findResource(resources, ResourceTypes::patch(), QuizResourceIds::Quiz), quizData, error,
                    "la ressource PATCH 104 (le quiz)")) {
        return false;
    }
    if (!decompress(findResource(resources, ResourceTypes::patch(), QuizResourceIds::Codes), codesData, error,
                    "la ressource PATCH 105 (les codes)")) {
        return false;
    }
    if (!parsePayloads(quizData, codesData, quiz, error)) return false;
    for (std::size_t i = 0; i < quiz.questions.size(); ++i) {
        const auto number = static_cast<std::uint16_t>(i + 1);
        if (const Resource* picture = findResource(resources, ResourceTypes::image(), QuizResourceIds::PictureBase + number)) {
            quiz.questions[i].picture = picture->data;
        }
        if (const Resource* reveal = findResource(resources, ResourceTypes::image(), QuizResourceIds::RevealPictureBase + number)) {
            quiz.questions[i].revealPicture = reveal->data;
        }
    }
    return true;
}

}  // namespace kelvo::pack
