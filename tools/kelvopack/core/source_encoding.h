// The bytes of a quiz source, as teachers' editors save them: UTF-8 with or
// without a byte order mark, UTF-16 with its mark (Notepad's "Unicode"), or
// Windows-1252 (Notepad's "ANSI", the default of older Windows versions).
#pragma once

#include <string>
#include <string_view>

#include "core/diagnostics.h"

namespace kelvo::pack {

// Turns the file's bytes into UTF-8 text without a byte order mark. A file
// read otherwise than as UTF-8 gets a note saying how. Returns false, with an
// error naming the line, when the bytes are no text in any of these
// encodings.
bool decodeQuizSource(std::string_view bytes, std::string& text, Diagnostics& diagnostics);

}  // namespace kelvo::pack
