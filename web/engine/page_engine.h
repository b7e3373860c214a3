// The quiz engine of the browser edition: the player's own loader, checking,
// reveals, score, codes and saved-answers format, run against the elements of
// a web page instead of dialog controls. Portable: the page's elements are
// reached through PageElements, which the WebAssembly build implements over
// the DOM and the tests over a map.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "checking/control_access.h"
#include "quiz/quiz.h"
#include "web/engine/learning_platform.h"

namespace kelvo::web {

using Bytes = std::vector<std::uint8_t>;

// The page's elements by id, with texts as the browser holds them.
class PageElements {
public:
    virtual ~PageElements() = default;
    virtual bool exists(int id) = 0;
    // An input's value or another element's text; empty when there is none.
    virtual std::u16string text(int id) = 0;
    virtual void setText(int id, const std::string& utf8) = 0;
    virtual void setHidden(int id, bool hidden) = 0;
    // Shows picture `pictureId` in image `id`; nothing when the page has none.
    virtual void showPicture(int id, int pictureId) = 0;
    // The colour of a verdict label: "right", "wrong", "anagram", "close" or "none".
    virtual void setBrush(int id, const char* brush) = 0;
};

// Answer checking's view of the page: control identifiers are element ids;
// texts are converted to and from Windows-1252 ("?" for a character the code
// page lacks) and cut at 259 bytes, so the page judges the bytes the player
// would judge. Verdict labels also get the brush the player paints them with.
class PageControlAccess : public ControlAccess {
public:
    PageControlAccess(const Quiz& quiz, PageElements& elements) : quiz(quiz), elements(elements) {}

    bool exists(int controlId) override;
    void readText(int controlId, char (&text)[TextSize]) override;
    void setText(int controlId, const char* text) override;
    void setVisible(int controlId, bool visible) override;
    void swapPicture(int pictureBoxId, int pictureId) override;
    void setHeaderText(int controlId, const char* text) override;

private:
    const Quiz& quiz;
    PageElements& elements;
};

namespace PageTexts {
constexpr const char* Damaged =
    "Cette page de quiz est abîmée : ses données ne sont plus celles que kelvopack a écrites. "
    "Demandez à votre enseignant de vous la renvoyer.";
}  // namespace PageTexts

class PageEngine {
public:
    PageEngine();
    ~PageEngine();

    // Checks the payload against the identity kelvopack wrote into the page,
    // then loads it with the player's loader. False, with a French message,
    // when the payload was damaged or cannot be read.
    bool open(const Bytes& quizStream, const Bytes& codeStream, const std::string& pageName,
              const std::string& expectedIdentity);
    const std::string& message() const { return failure; }
    // The quiz's identity, also the key of its answers in the browser's storage.
    const std::string& identity() const { return identityText; }

    // Everything the page draws, as JSON (UTF-8).
    std::string pageModel() const;

    // Fills the boxes from saved-answers bytes and evaluates each one in
    // turn, as the player does at start.
    void start(PageElements& elements, const Bytes& savedAnswers);
    void evaluate(PageElements& elements, int boxId);
    // F1: this box's text into every box whose verdict is not "BRAVO",
    // each evaluated; nothing when the box holds only blanks.
    void fillOpenAnswers(PageElements& elements, int boxId);
    // The saved-answers file of the current boxes (Windows-1252, CR LF).
    std::string savedAnswers(PageElements& elements);
    // What the page tells a learning platform now, as JSON: "values", the
    // pairs of element and value to set in order, and "kept", false when the
    // answers are too long for the platform (platformReport).
    std::string platformReport(PageElements& elements, ScormVersion version, std::int64_t centiseconds);

    // Every field of the decoded quiz, answers and codes included, one per
    // line: what two builds of the engine must agree on.
    std::string quizDump() const;

private:
    std::unique_ptr<DrawingObjects> drawing;
    std::unique_ptr<Quiz> loaded;
    std::string failure;
    std::string identityText;
};

// "#000000" or "#ffffff", whichever contrasts more with the colour, so text
// stays readable on whatever quiz colour the teacher picked.
const char* readableInk(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

}  // namespace kelvo::web
