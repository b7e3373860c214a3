// The saved-answers file on disk, beside the process's current directory.
#pragma once

#include <windows.h>

#include <string>

#include "question_panel/saved_answers.h"
#include "shell/win32/scoped_handles.h"

namespace kelvo {

// The file name derived from the running executable's own name.
std::string savedAnswersFileName();

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

}  // namespace kelvo
