// What the page draws, as JSON: the header texts, the colours, and per
// question its texts and the ids of the elements the engine will address.
#include <cstdio>

#include "checking/answer_slots.h"
#include "core/windows1252.h"
#include "resources/control_ids.h"
#include "web/engine/page_engine.h"

namespace kelvo::web {

namespace {

class JsonWriter {
public:
    JsonWriter& key(const char* name) {
        separate();
        out += '"';
        out += name;
        out += "\":";
        fresh = true;
        return *this;
    }
    // A Windows-1252 text of the quiz, written as a UTF-8 JSON string.
    JsonWriter& text(const char* ansi) {
        separate();
        out += '"';
        for (char c : pack::fromWindows1252(ansi)) {
            const auto byte = static_cast<unsigned char>(c);
            if (c == '"' || c == '\\') {
                out += '\\';
                out += c;
            } else if (byte < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
                out += escaped;
            } else {
                out += c;
            }
        }
        out += '"';
        return *this;
    }
    JsonWriter& number(int value) {
        separate();
        out += std::to_string(value);
        return *this;
    }
    JsonWriter& open(char bracket) {
        separate();
        out += bracket;
        fresh = true;
        return *this;
    }
    JsonWriter& close(char bracket) {
        out += bracket;
        fresh = false;
        return *this;
    }

    std::string out;

private:
    void separate() {
        if (!fresh) out += ',';
        fresh = false;
    }
    bool fresh = true;
};

std::string hexColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    char colour[8];
    std::snprintf(colour, sizeof colour, "#%02x%02x%02x", red, green, blue);
    return colour;
}

void writeQuestion(JsonWriter& json, const Quiz& quiz, int index) {
    const Question noQuestion;
    const Question* found = quiz.questionAt(index + 1);
    const Question& question = found != nullptr ? *found : noQuestion;
    const int number = index + 1;
    const bool grid = quiz.kind != QuizKind::Text;
    json.open('{').key("number").number(number).key("prompt").text(question.prompt);
    json.key("boxes").open('[');
    for (int slot = 1; slot <= slotsPerQuestion(quiz); ++slot) json.number(answerBoxId(quiz, index, slot));
    json.close(']');
    // The player makes reveal labels in grids only, for the modes that show text.
    if (grid && quiz.revealMode > RevealMode::Picture)
        json.key("reveal").number(PanelIds::revealLabel(number)).key("revealText").text(question.revealText);
    if (quiz.kind == QuizKind::Picture)
        json.key("picture").number(PanelIds::pictureBox(number)).key("pictureResource").number(PanelIds::PictureResourceBase + number);
    if (quiz.kind == QuizKind::Audio || quiz.kind == QuizKind::Video)
        json.key("clip").number(PanelIds::PictureResourceBase + number);
    json.close('}');
}

}  // namespace

std::string PageEngine::pageModel() const {
    const Quiz& quiz = *loaded;
    JsonWriter json;
    char score[32];
    std::snprintf(score, sizeof score, " 0 / %d", static_cast<int>(quiz.questionCount));
    json.open('{');
    json.key("kind").number(quiz.kind).key("title").text(quiz.title).key("author").text(quiz.author);
    json.key("explanation").text(quiz.explanation).key("score").text(score);
    json.key("colour").text(hexColour(quiz.colorRed, quiz.colorGreen, quiz.colorBlue).c_str());
    json.key("ink").text(readableInk(quiz.colorRed, quiz.colorGreen, quiz.colorBlue));
    json.key("captions").open('[');
    if (quiz.kind != QuizKind::Text && quiz.answersPerQuestion == 2) json.text(quiz.firstAnswerLabel).text(quiz.secondAnswerLabel);
    json.close(']');
    json.key("questions").open('[');
    if (answerBoxCount(quiz) > 0)
        for (int index = 0; index < questionsShown(quiz); ++index) writeQuestion(json, quiz, index);
    json.close(']');
    json.close('}');
    return json.out;
}

std::string PageEngine::quizDump() const {
    const Quiz& quiz = *loaded;
    std::string dump;
    const auto line = [&dump](const char* name, const std::string& value) { dump += std::string(name) + "=" + value + "\n"; };
    line("kind", std::to_string(quiz.kind));
    line("questions", std::to_string(quiz.questionCount));
    line("answers", std::to_string(quiz.answersPerQuestion));
    line("reveal", std::to_string(quiz.revealMode));
    line("colour", hexColour(quiz.colorRed, quiz.colorGreen, quiz.colorBlue));
    for (const char* text : {quiz.title, quiz.author, quiz.explanation, quiz.firstAnswerLabel, quiz.secondAnswerLabel})
        line("header", pack::fromWindows1252(text));
    for (const Question* question = quiz.firstQuestion(); question != nullptr; question = question->next)
        for (const char* text : {question->answer, question->secondAnswer, question->prompt, question->revealText})
            line("question", pack::fromWindows1252(text));
    for (int k = 0; k < questionsShown(quiz); ++k) line("code", pack::fromWindows1252(quiz.codes[k]));
    return dump;
}

}  // namespace kelvo::web
