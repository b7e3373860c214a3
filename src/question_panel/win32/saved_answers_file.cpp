#include "question_panel/win32/saved_answers_file.h"

#include <shlobj.h>

#include <optional>

#include "checking/answer_slots.h"
#include "resources/control_ids.h"
#include "question_panel/win32/panel_state.h"
#include "question_panel/win32/question_panel.h"
#include "quiz/quiz_identity.h"
#include "quiz/win32/executable_resources.h"
#include "resources/resource_ids.h"
#include "platform/win32/scoped_handles.h"

namespace kelvo {
namespace {

constexpr const char* PerUserFolderName = "\\Kelvo";

std::string executablePath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string withoutFolders(const std::string& path) {
    return path.substr(path.find_last_of('\\') + 1);
}

// Windows XP sets no LOCALAPPDATA; the shell knows the folder there too.
std::string localApplicationDataFolder() {
    char folder[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("LOCALAPPDATA", folder, MAX_PATH);
    if (length > 0 && length < MAX_PATH) return folder;
    if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) return folder;
    return {};
}

std::string perUserFolder() {
    const std::string base = localApplicationDataFolder();
    return base.empty() ? std::string() : base + PerUserFolderName;
}

// Absent for a missing file and for a folder standing in its place.
std::optional<std::uint64_t> lastWriteTime(const std::string& fileName) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (fileName.empty() || !GetFileAttributesExA(fileName.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return std::nullopt;
    return (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

bool writePerUserCopy(const std::string& bytes) {
    const std::string path = perUserAnswersPath();
    if (path.empty()) return false;
    CreateDirectoryA(perUserFolder().c_str(), nullptr);  // there already after the first time
    return replaceFileContents(path, bytes);
}

bool writeAll(HANDLE file, const std::string& bytes) {
    DWORD written = 0;
    if (bytes.empty()) return true;
    return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

}  // namespace

std::string savedAnswersFileName() {
    return savedAnswersFileName(executablePath());
}

std::string perUserAnswersPath() {
    const std::string folder = perUserFolder();
    if (folder.empty()) return {};
    const std::string executable = withoutFolders(executablePath());
    ExecutablePatchResources stored;
    const std::uint64_t identity = quizIdentity(stored.patchResource(ResourceIds::QuizData),
                                                stored.patchResource(ResourceIds::CodesData), executable);
    return folder + "\\" + perUserAnswersFileName(executable, quizIdentityText(identity));
}

std::string savedAnswersFileToRead() {
    const std::string local = savedAnswersFileName();
    const std::string perUser = perUserAnswersPath();
    return answersCopyToRead(lastWriteTime(local), lastWriteTime(perUser)) == AnswersCopy::PerUser ? perUser : local;
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
bool keepAnswers(HWND panel) {
    const PanelState* state = panelState(panel);
    if (state == nullptr || state->quiz == nullptr) return true;
    const int boxes = answerBoxCount(*state->quiz);
    if (boxes == 0 || GetDlgItem(panel, PanelIds::FirstAnswerBox) == nullptr) return true;
    std::vector<std::string> answers;
    for (int index = 0; index < boxes; ++index) {
        char text[TextSize] = {};
        GetDlgItemTextA(panel, PanelIds::answerBox(index), text, TextSize);
        answers.emplace_back(text);
    }
    const std::string bytes = formatSavedAnswers(answers);
    return replaceFileContents(savedAnswersFileName(), bytes) || writePerUserCopy(bytes);
}

// F2 and "Sauver": the answers stay in the boxes, and closing asks again.
void saveAnswers(HWND panel) {
    if (!keepAnswers(panel))
        MessageBoxA(GetAncestor(panel, GA_ROOT), SavedAnswersTexts::NotSaved, SavedAnswersTexts::Caption,
                    MB_OK | MB_ICONWARNING);
}

}  // namespace kelvo
