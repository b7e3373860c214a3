#include "core/quiz_payload.h"

#include "quiz/lzw_codec.h"
#include "quiz/quiz.h"

namespace kelvo::pack {

namespace {

std::vector<payload::QuestionTexts> questionTexts(const PackedQuiz& quiz) {
    return {quiz.questions.begin(), quiz.questions.end()};
}

bool compress(const Bytes& data, Bytes& stream, std::string& error, const char* what) {
    if (data.size() > payload::MaxSize) {
        error = std::string(what) + " fait " + std::to_string(data.size()) +
                " octets une fois assemblé ; le lecteur en accepte au plus 65535 : raccourcissez des textes ou retirez des questions.";
        return false;
    }
    lzw::Result result = lzw::encode(data.data(), data.size());
    if (result.status != lzw::Success || result.output == nullptr) {
        error = std::string(what) + " ne se compresse pas dans la taille que le lecteur accepte (code " +
                std::to_string(result.status) + ") : raccourcissez des textes ou retirez des questions.";
        return false;
    }
    stream.assign(result.output.get(), result.output.get() + result.length);
    return true;
}

bool decompress(const Resource* resource, Bytes& data, std::string& error, const char* what) {
    if (resource == nullptr || resource->data.empty()) {
        error = std::string("l'exécutable ne contient pas ") + what + " : ce n'est pas un quiz Kelvo construit.";
        return false;
    }
    lzw::Result result = lzw::decode(resource->data.data(), resource->data.size());
    if (result.status != lzw::Success || result.output == nullptr) {
        error = std::string(what) + " ne se décode pas (code " + std::to_string(result.status) + ").";
        return false;
    }
    data.assign(result.output.get(), result.output.get() + result.length);
    return true;
}

Resource neutralResource(const ResourceName& type, std::uint16_t id, Bytes data) {
    return Resource{type, ResourceName::number(id), NeutralLanguage, std::move(data)};
}

}  // namespace

Bytes quizPayload(const PackedQuiz& quiz) { return payload::writeQuizData(quiz, questionTexts(quiz)); }

Bytes codesPayload(const PackedQuiz& quiz) { return payload::writeCodes(quiz.codes, quiz.questions.size()); }

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
    payload::StoredQuiz stored;
    if (!payload::readQuizData(quizData.data(), quizData.size(), stored)) {
        error = "les données du quiz s'arrêtent avant la fin, ou annoncent un nombre de questions ou de réponses que le lecteur ne sait pas montrer.";
        return false;
    }
    if (stored.header.kind < QuizKind::Text || stored.header.kind > QuizKind::Video) {
        error = "les données du quiz annoncent une sorte de quiz que le lecteur ne sait pas montrer.";
        return false;
    }
    if (stored.header.revealMode > RevealMode::AllAtEnd) {
        error = "les données du quiz annoncent un mode de révélation inconnu (" + std::to_string(stored.header.revealMode) + ").";
        return false;
    }
    static_cast<payload::QuizHeader&>(quiz) = stored.header;
    quiz.questions.assign(stored.questions.size(), PackedQuestion{});
    for (std::size_t i = 0; i < stored.questions.size(); ++i) {
        static_cast<payload::QuestionTexts&>(quiz.questions[i]) = stored.questions[i];
    }
    if (payload::readCodes(codesData.data(), codesData.size(), stored.questions.size(), quiz.codes) <
        stored.questions.size()) {
        error = "la liste des codes s'arrête avant la fin.";
        return false;
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
