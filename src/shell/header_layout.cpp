#include "shell/header_layout.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "resources/header_ids.h"
#include "shell/shell_texts.h"

namespace kelvo::HeaderLayout {

namespace {

std::string initialScore(int questionCount) {
    char text[TextSize];
    std::snprintf(text, sizeof text, ShellTexts::InitialScoreFormat, questionCount);
    return text;
}

}  // namespace

std::string displayedWebAddress(const std::string& address) {
    std::string shown = address;
    for (const char* scheme : {"https://", "http://"}) {
        if (shown.rfind(scheme, 0) == 0) {
            shown.erase(0, std::strlen(scheme));
            break;
        }
    }
    if (!shown.empty() && shown.back() == '/') shown.pop_back();
    return shown;
}

std::array<Control, ControlCount> controls(const Quiz& quiz) {
    using namespace HeaderIds;
    const std::uint32_t plain = Style::ChildVisible;
    const std::uint32_t rule = Style::ChildVisible | Style::Border;
    return {{
        {Link, "Static", displayedWebAddress(ShellTexts::MakerWebAddress), plain | Style::Notify, {736, 5, 115, 18}, ControlFont::Link},
        {ByLabel, "Static", ShellTexts::ByCaption, plain, {736, 25, 27, 18}, ControlFont::DefaultGui},
        {Author, "Static", quiz.author, plain, {763, 25, 85, 18}, ControlFont::DefaultGui},
        {SaveButton, "button", ShellTexts::SaveCaption, plain, {666, 25, 55, 18}, ControlFont::DefaultGui},
        {Explanation, "Static", quiz.explanation, plain, {110, 19, 490, 27}, ControlFont::DefaultGui},
        {Title, "Static", quiz.title, plain, {110, 3, 260, 18}, ControlFont::QuizTitle},
        {CodeLabel, "Static", ShellTexts::CodeCaption, plain, {7, 29, 36, 15}, ControlFont::DefaultGui},
        {ScoreLabel, "Static", initialScore(quiz.questionCount), plain | Style::Centre, {10, 1, 80, 20},
         ControlFont::QuizScore},
        {CodeBox, "edit", "", plain | Style::ReadOnly, {44, 29, 53, 16}, ControlFont::DefaultGui},
        {ScoreRule, "Static", "", rule, {0, 26, 100, 1}, ControlFont::None},
        {LeftRule, "Static", "", rule, {100, 0, 1, 50}, ControlFont::None},
        {RightRule, "Static", "", rule, {730, 0, 1, 50}, ControlFont::None},
    }};
}

std::array<Placement, PlacementCount> placements(int clientWidth) {
    using namespace HeaderIds;
    const int w = clientWidth;
    return {{
        {Link, {w - 134, 0, 115, 18}},
        {ByLabel, {w - 134, 25, 26, 18}},
        {Author, {w - 107, 25, 105, 18}},
        {SaveButton, {w - 204, 25, 55, 18}},
        {Explanation, {110, 19, std::max(0, w - 324), 28}},
        {RightRule, {w - 145, 0, 1, 50}},
    }};
}

int linkFontHeight(int clientHeight) {
    return -(3 * clientHeight / 4);
}

Coloring coloringFor(int controlId) {
    if (controlId == HeaderIds::Link) return Coloring::Link;
    // The labels and the read-only code box sit on the panel colour.
    if (controlId >= 20 && controlId <= HeaderIds::ScoreLabel) return Coloring::PanelColour;
    return Coloring::Default;
}

}  // namespace kelvo::HeaderLayout
