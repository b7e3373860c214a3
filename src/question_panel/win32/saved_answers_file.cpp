#include "question_panel/win32/saved_answers_file.h"

#include "checking/answer_slots.h"
#include "question_panel/control_ids.h"
#include "question_panel/win32/question_panel.h"
#include "shell/win32/application.h"
#include "shell/win32/scoped_handles.h"

namespace kelvo {
namespace {

bool writeAll(HANDLE file, const std::string& bytes) {
    DWORD written = 0;
    if (bytes.empty()) return true;
    return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

}  // namespace

std::string savedAnswersFileName() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return savedAnswersFileName(std::string(path));
}

SavedAnswersFile::SavedAnswersFile(const std::string& fileName)
    : file(CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (!file) return;
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart == 0) return;
    mapping.reset(CreateFileMappingA(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping) return;
    // A file larger than the address space cannot be viewed whole: no answers.
    view.reset(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
    if (view)
        lines = SavedAnswersReader(static_cast<const std::uint8_t*>(view.get()),
                                   static_cast<std::size_t>(size.QuadPart));
}

bool replaceFileContents(const std::string& fileName, const std::string& bytes) {
    const std::string temporary = fileName + ".tmp";
    ScopedFile file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    if (!file) return false;
    bool complete = writeAll(file.get(), bytes) && FlushFileBuffers(file.get());
    file.reset();
    if (complete && MoveFileExA(temporary.c_str(), fileName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileA(temporary.c_str());
    return false;
}

// A panel without answer boxes (quiz data that did not load, a kind that
// builds nothing) saves nothing, so the answers of a good run are kept.
void saveAnswers(HWND panel) {
    if (theQuiz == nullptr) return;
    const int boxes = answerBoxCount(*theQuiz);
    if (boxes == 0 || GetDlgItem(panel, PanelIds::FirstAnswerBox) == nullptr) return;
    std::vector<std::string> answers;
    for (int index = 0; index < boxes; ++index) {
        char text[TextSize] = {};
        GetDlgItemTextA(panel, PanelIds::answerBox(index), text, TextSize);
        answers.emplace_back(text);
    }
    replaceFileContents(savedAnswersFileName(), formatSavedAnswers(answers));
}

}  // namespace kelvo
