// The saved-answers reader on any file content: every line fits a box,
// holds no zero byte and no CR, and reading never leaves the content.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "question_panel/saved_answers.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kelvo::SavedAnswersReader reader(data, size);
    std::size_t kept = 0;
    for (int line = 0; line < 2 * 96 + 2; ++line) {
        std::string text = reader.nextLine();
        require(text.size() <= 259);
        require(text.find('\0') == std::string::npos && text.find('\r') == std::string::npos);
        kept += text.size();
    }
    require(kept <= size);
    std::string again = kelvo::formatSavedAnswers({std::string(reinterpret_cast<const char*>(data), size)});
    require(again.size() <= 259 + 2);
    return 0;
}
