// The engine's entry points for the page's script, and the page's elements
// reached through the DOM. Control identifiers are element ids.
#include <emscripten.h>

#include <optional>
#include <string>

#include "core/answer_check.h"
#include "web/engine/page_engine.h"

namespace {

// clang-format off
EM_JS(int, domExists, (int id), { return document.getElementById(String(id)) ? 1 : 0; });

// Copies at most `capacity` UTF-16 units of the element's text; returns how many.
EM_JS(int, domText, (int id, char16_t* buffer, int capacity), {
    const element = document.getElementById(String(id));
    if (!element) return 0;
    const text = element.tagName === "INPUT" ? element.value : element.textContent;
    const count = Math.min(text.length, capacity);
    for (let i = 0; i < count; ++i) HEAPU16[(buffer >> 1) + i] = text.charCodeAt(i);
    return count;
});

EM_JS(void, domSetText, (int id, const char* utf8), {
    const element = document.getElementById(String(id));
    if (!element) return;
    const text = UTF8ToString(utf8);
    if (element.tagName === "INPUT") element.value = text; else element.textContent = text;
});

EM_JS(void, domSetHidden, (int id, int hidden), {
    const element = document.getElementById(String(id));
    if (element) element.hidden = hidden !== 0;
});

EM_JS(void, domShowPicture, (int id, int pictureId), {
    const element = document.getElementById(String(id));
    const url = Module.pictureUrl ? Module.pictureUrl(pictureId) : null;
    if (element && url) element.src = url;
});

EM_JS(void, domSetBrush, (int id, const char* brush), {
    const element = document.getElementById(String(id));
    if (element) element.dataset.brush = UTF8ToString(brush);
});
// clang-format on

class DomElements : public kelvo::web::PageElements {
public:
    bool exists(int id) override { return domExists(id) != 0; }
    std::u16string text(int id) override {
        // Twice the longest text: every character may be a surrogate pair.
        char16_t buffer[2 * kelvo::TextSize];
        const int count = domText(id, buffer, 2 * kelvo::TextSize);
        return std::u16string(buffer, static_cast<std::size_t>(count));
    }
    void setText(int id, const std::string& utf8) override { domSetText(id, utf8.c_str()); }
    void setHidden(int id, bool hidden) override { domSetHidden(id, hidden ? 1 : 0); }
    void showPicture(int id, int pictureId) override { domShowPicture(id, pictureId); }
    void setBrush(int id, const char* brush) override { domSetBrush(id, brush); }
};

kelvo::web::PageEngine engine;
DomElements page;
std::string lastText;  // the text handed out last; valid until the next call

kelvo::web::Bytes bytesOf(const std::uint8_t* data, int length) {
    return length > 0 ? kelvo::web::Bytes(data, data + length) : kelvo::web::Bytes{};
}

const char* handOut(std::string text) {
    lastText = std::move(text);
    return lastText.c_str();
}

kelvo::web::ScormVersion versionOf(int version) {
    return version == 12 ? kelvo::web::ScormVersion::V1_2 : kelvo::web::ScormVersion::V2004;
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE int kelvoOpen(const std::uint8_t* quiz, int quizLength, const std::uint8_t* codes, int codesLength,
                                   const char* pageName, const char* identity) {
    return engine.open(bytesOf(quiz, quizLength), bytesOf(codes, codesLength), pageName, identity) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE const char* kelvoMessage() { return engine.message().c_str(); }
EMSCRIPTEN_KEEPALIVE const char* kelvoIdentity() { return engine.identity().c_str(); }
EMSCRIPTEN_KEEPALIVE const char* kelvoPageModel() { return handOut(engine.pageModel()); }

EMSCRIPTEN_KEEPALIVE void kelvoStart(const std::uint8_t* saved, int length) { engine.start(page, bytesOf(saved, length)); }
EMSCRIPTEN_KEEPALIVE void kelvoEvaluate(int boxId) { engine.evaluate(page, boxId); }
EMSCRIPTEN_KEEPALIVE void kelvoFillOpenAnswers(int boxId) { engine.fillOpenAnswers(page, boxId); }

// The saved-answers file's bytes; their count through kelvoTextLength.
EMSCRIPTEN_KEEPALIVE const char* kelvoSavedAnswers() { return handOut(engine.savedAnswers(page)); }
EMSCRIPTEN_KEEPALIVE int kelvoTextLength() { return static_cast<int>(lastText.size()); }

// A learning platform's run-time: the elements to read at start (JSON;
// "entry" null when the suspend data is read whatever it says), the answers
// its suspend data holds (null when it holds none of ours; their count
// through kelvoTextLength), and what to tell it after a check.
EMSCRIPTEN_KEEPALIVE const char* kelvoPlatformElements(int version) {
    const kelvo::web::PlatformElements& elements = kelvo::web::platformElements(versionOf(version));
    const auto quoted = [](const char* name) { return name != nullptr ? "\"" + std::string(name) + "\"" : std::string("null"); };
    return handOut("{\"learner\":" + quoted(elements.learnerId) + ",\"entry\":" + quoted(elements.entry) +
                   ",\"suspend\":" + quoted(elements.suspendData) + "}");
}
EMSCRIPTEN_KEEPALIVE const char* kelvoAnswersFromPlatform(const char* suspendData) {
    const std::optional<std::string> answers = kelvo::web::savedAnswersFrom(suspendData);
    if (!answers) return nullptr;
    return handOut(*answers);
}
EMSCRIPTEN_KEEPALIVE const char* kelvoPlatformReport(int version, double centiseconds) {
    return handOut(engine.platformReport(page, versionOf(version), static_cast<std::int64_t>(centiseconds)));
}

// For the differential test: the verdict of `kelvopack check`, and the whole
// decoded quiz, from the same sources as the native build.
EMSCRIPTEN_KEEPALIVE const char* kelvoVerdict(const char* expected, const char* typed) {
    std::string verdict, error;
    return handOut(kelvo::pack::checkAnswer(expected, typed, verdict, error) ? verdict : "");
}
EMSCRIPTEN_KEEPALIVE const char* kelvoQuizDump() { return handOut(engine.quizDump()); }

}  // extern "C"
