// The browser edition of a quiz: one HTML file that needs nothing else. It
// carries the same compressed quiz and codes as the player's PATCH resources,
// checked against the quiz's identity, the engine (the player's core in
// WebAssembly), and the pictures and playable clips as data: URLs.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/commands.h"
#include "core/packed_quiz.h"
#include "core/resource_set.h"

namespace kelvo::pack {

// The page's parts: its HTML with {{title}}, {{style}}, {{data}}, {{engine}}
// and {{script}} in it, its CSS and script, and the engine.
struct PageAssets {
    std::string_view page;
    std::string_view style;
    std::string_view script;
    std::string_view engine;
};

// The parts this kelvopack was built with (generated from web/ at build time).
const PageAssets& builtInPageAssets();

// The MIME type a browser plays a clip under; nothing for a format browsers
// do not play (AVI, WMV, MIDI) or do not recognise.
std::optional<std::string> browserClipType(const Bytes& clip);

struct QuizPage {
    std::string html;
    std::string identity;                // the quiz's identity, as the page checks it
    std::vector<std::string> warnings;   // French, one per clip the page cannot play
};

// The page for a quiz whose resources (as a built .exe stores them) are
// `resources`; `pageName` is the file name the page is written under.
QuizPage makeQuizPage(const PackedQuiz& quiz, const ResourceSet& resources, const std::string& pageName,
                      const PageAssets& assets);

// The page of a compiled quiz, its warnings printed; nothing when the quiz's
// resources cannot be made (the error printed).
std::optional<QuizPage> makeBuiltQuizPage(CommandContext& context, const PackedQuiz& quiz, const std::string& pageName);

// Writes `bytes` beside `output` and moves them into place whole, so a failed
// write never leaves half a file; false, said in French, when it cannot.
bool replaceWholeFile(CommandContext& context, const std::filesystem::path& output, const std::string& shownOutput,
                      std::string_view bytes);

// `kelvopack build QUIZ.toml -o QUIZ.html`, once the source is compiled.
int buildQuizPage(CommandContext& context, const PackedQuiz& quiz, const std::filesystem::path& output,
                  const std::string& shownOutput, const std::string& summary);

}  // namespace kelvo::pack
