#include "web/engine/page_engine.h"

#include <cmath>
#include <cstring>

#include "checking/answer_slots.h"
#include "checking/evaluation.h"
#include "checking/verdicts.h"
#include "core/windows1252.h"
#include "resources/control_ids.h"
#include "question_panel/panel_colors.h"
#include "question_panel/saved_answers.h"
#include "quiz/quiz_identity.h"
#include "quiz/quiz_loader.h"
#include "resources/resource_ids.h"

namespace kelvo::web {

namespace {

// The page draws with CSS: the quiz record's fonts and brushes are never used.
class NoDrawingObjects : public DrawingObjects {
public:
    DrawingHandle makeFont(const FontDescription&) override { return nullptr; }
    DrawingHandle makeSolidBrush(std::uint32_t) override { return nullptr; }
    void release(DrawingHandle) override {}
};

class PayloadSource : public QuizResourceSource {
public:
    PayloadSource(const Bytes& quiz, const Bytes& codes) : quiz(quiz), codes(codes) {}
    std::vector<std::uint8_t> patchResource(int id) override { return id == ResourceIds::QuizData ? quiz : codes; }

private:
    const Bytes& quiz;
    const Bytes& codes;
};

// The loader's messages are the player's (Windows-1252); the page shows UTF-8.
class FirstMessage : public MessageSink {
public:
    void showMessage(const char* text, const char*) override {
        if (message.empty()) message = pack::fromWindows1252(text);
    }
    std::string message;
};

const char* brushName(PanelBrush brush) {
    switch (brush) {
        case PanelBrush::Right: return "right";
        case PanelBrush::Wrong: return "wrong";
        case PanelBrush::Anagram: return "anagram";
        case PanelBrush::Close: return "close";
        default: return "none";
    }
}

bool isVerdictLabel(const Quiz& quiz, int controlId) {
    return slotForBox(quiz, controlId - PanelIds::VerdictOffset).has_value();
}

double linearChannel(std::uint8_t value) {
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

bool PageControlAccess::exists(int controlId) { return elements.exists(controlId); }

void PageControlAccess::readText(int controlId, char (&text)[TextSize]) {
    copyText(text, pack::windows1252FromUtf16(elements.text(controlId)).c_str());
}

void PageControlAccess::setText(int controlId, const char* text) {
    elements.setText(controlId, pack::fromWindows1252(text));
    if (isVerdictLabel(quiz, controlId)) elements.setBrush(controlId, brushName(colorsForStatic(quiz, controlId, text).brush));
}

void PageControlAccess::setVisible(int controlId, bool visible) { elements.setHidden(controlId, !visible); }

void PageControlAccess::swapPicture(int pictureBoxId, int pictureId) { elements.showPicture(pictureBoxId, pictureId); }

void PageControlAccess::setHeaderText(int controlId, const char* text) {
    elements.setText(controlId, pack::fromWindows1252(text));
}

PageEngine::PageEngine() : drawing(std::make_unique<NoDrawingObjects>()) {}
PageEngine::~PageEngine() = default;

bool PageEngine::open(const Bytes& quizStream, const Bytes& codeStream, const std::string& pageName,
                      const std::string& expectedIdentity) {
    loaded = std::make_unique<Quiz>(*drawing);
    // The compressed stream has no check of its own: a changed byte often
    // still decodes, as another quiz. The identity kelvopack wrote is the check.
    identityText = quizIdentityText(quizIdentity(quizStream, codeStream, pageName));
    if (quizStream.empty() || identityText != expectedIdentity) {
        loaded->questionCount = 0;
        failure = PageTexts::Damaged;
        return false;
    }
    PayloadSource source(quizStream, codeStream);
    FirstMessage messages;
    loadQuiz(*loaded, source, messages);
    failure = messages.message;
    return failure.empty();
}

void PageEngine::start(PageElements& elements, const Bytes& savedAnswers) {
    PageControlAccess access(*loaded, elements);
    SavedAnswersReader reader(savedAnswers.data(), savedAnswers.size());
    const int boxes = answerBoxCount(*loaded);
    for (int index = 0; index < boxes; ++index) {
        const int boxId = PanelIds::answerBox(index);
        elements.setText(boxId, pack::fromWindows1252(reader.nextLine()));
        evaluateAnswer(*loaded, access, boxId);
    }
}

void PageEngine::evaluate(PageElements& elements, int boxId) {
    PageControlAccess access(*loaded, elements);
    evaluateAnswer(*loaded, access, boxId);
}

// The player moves the focus through the boxes it writes, and each box
// evaluates as the focus leaves it: the box itself first, then every box
// written, in order.
void PageEngine::fillOpenAnswers(PageElements& elements, int boxId) {
    if (!slotForBox(*loaded, boxId)) return;
    PageControlAccess access(*loaded, elements);
    char text[TextSize];
    access.readText(boxId, text);
    if (holdsOnlyBlanks(text)) return;
    evaluateAnswer(*loaded, access, boxId);
    const int boxes = answerBoxCount(*loaded);
    for (int index = 0; index < boxes; ++index) {
        const int target = PanelIds::answerBox(index);
        char verdict[TextSize];
        access.readText(PanelIds::verdictLabel(target), verdict);
        if (std::strcmp(verdict, Verdicts::Right) == 0) continue;
        access.setText(target, text);
        evaluateAnswer(*loaded, access, target);
    }
}

std::string PageEngine::savedAnswers(PageElements& elements) {
    PageControlAccess access(*loaded, elements);
    std::vector<std::string> answers;
    const int boxes = answerBoxCount(*loaded);
    for (int index = 0; index < boxes; ++index) {
        char text[TextSize];
        access.readText(PanelIds::answerBox(index), text);
        answers.emplace_back(text);
    }
    return formatSavedAnswers(answers);
}

std::string PageEngine::platformReport(PageElements& elements, ScormVersion version, std::int64_t centiseconds) {
    PageControlAccess access(*loaded, elements);
    const PlatformReport report = web::platformReport(version, countRightQuestions(*loaded, access), questionsShown(*loaded),
                                                      centiseconds, savedAnswers(elements));
    // Element names and values are plain ASCII without quotes or backslashes.
    std::string json = "{\"values\":[";
    for (const PlatformValue& value : report.values)
        json += std::string(json.back() == '[' ? "" : ",") + "[\"" + value.element + "\",\"" + value.value + "\"]";
    return json + "],\"kept\":" + (report.answersKept ? "true" : "false") + "}";
}

const char* readableInk(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    const double luminance = 0.2126 * linearChannel(red) + 0.7152 * linearChannel(green) + 0.0722 * linearChannel(blue);
    // Contrast with black (L + 0.05) / 0.05 against white 1.05 / (L + 0.05).
    return (luminance + 0.05) * (luminance + 0.05) >= 0.05 * 1.05 ? "#000000" : "#ffffff";
}

}  // namespace kelvo::web
