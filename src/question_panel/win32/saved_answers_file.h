// The saved-answers file on disk: in the process's current folder, or in a
// per-user folder when the current one cannot be written.
#pragma once

#include <windows.h>

#include <string>

#include "question_panel/saved_answers.h"
#include "platform/win32/scoped_handles.h"

namespace kelvo {

// The file name derived from the running executable's own name.
std::string savedAnswersFileName();
// "%LOCALAPPDATA%\Kelvo\<name>-<quiz identity>.txt"; empty when the
// per-user folder is unknown.
std::string perUserAnswersPath();
// The copy start-up reads: the newer of the two.
std::string savedAnswersFileToRead();

// The file mapped read-only while the panel is built; empty when missing.
class SavedAnswersFile {
public:
    explicit SavedAnswersFile(const std::string& fileName);

    SavedAnswersReader& reader() { return lines; }

private:
    // Members end in reverse order: the view, then the mapping, then the file.
    ScopedFile file;
    ScopedFileMapping mapping;
    ScopedMappedView view;
    SavedAnswersReader lines;
};

// Writes the bytes to a temporary file in the same folder and only then
// replaces the old file, so a failing save never loses the saved answers.
bool replaceFileContents(const std::string& fileName, const std::string& bytes);

// Writes every answer box to the current folder or, when it cannot be
// written, to the per-user copy; false when neither took them. A panel
// without boxes has nothing to keep and succeeds.
bool keepAnswers(HWND panel);

}  // namespace kelvo
