// The authoring tool's quiz source decoding, parser and validation on any
// bytes: they must end in diagnostics or in a quiz whose resources the
// player's own loader reads back whole. Decoded text is always UTF-8.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/quiz_payload.h"
#include "core/quiz_source.h"
#include "core/quiz_validation.h"
#include "core/source_encoding.h"
#include "core/windows1252.h"
#include "quiz/quiz_loader.h"

using namespace kelvo;

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

class NoDrawing : public DrawingObjects {
public:
    DrawingHandle makeFont(const FontDescription&) override { return nullptr; }
    DrawingHandle makeSolidBrush(std::uint32_t) override { return nullptr; }
    void release(DrawingHandle) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string text;
    pack::Diagnostics decoding("fuzz.toml");
    if (pack::decodeQuizSource(bytes, text, decoding)) {
        require(!pack::toWindows1252(text).invalidUtf8);
    } else {
        require(decoding.hasErrors());
    }
    pack::QuizSource source;
    pack::Diagnostics diagnostics("fuzz.toml");
    // No media folder: only quizzes without pictures and clips can pass.
    if (!pack::parseQuizSource(bytes, "/nonexistent-kelvo-fuzz", source, diagnostics)) {
        require(diagnostics.hasErrors());
        return 0;
    }
    pack::PackedQuiz quiz;
    if (!pack::compileQuiz(source, quiz, diagnostics)) {
        require(diagnostics.hasErrors());
        return 0;
    }
    pack::Bytes payload = pack::quizPayload(quiz);
    NoDrawing drawing;
    Quiz loaded(drawing);
    require(parseQuizData(loaded, payload.data(), payload.size()));
    require(loaded.questionCount == static_cast<int>(quiz.questions.size()));
    require(loaded.answersPerQuestion == quiz.answersPerQuestion);
    return 0;
}
