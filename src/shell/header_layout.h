// The header panel as data: which controls it makes, with what text, style,
// place and font, where they move when the panel's width changes, and how
// each is coloured. The Win32 layer only turns this into windows.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "quiz/quiz.h"
#include "platform/geometry.h"

namespace kelvo::HeaderLayout {

constexpr std::uint32_t PanelColor = 0xff8080;
constexpr std::uint32_t LinkTextColor = 0xff3232;

// Window style bits, spelled out so that this stays portable.
namespace Style {
constexpr std::uint32_t ChildVisible = 0x50000000;  // WS_CHILD | WS_VISIBLE
constexpr std::uint32_t Border = 0x00800000;        // WS_BORDER
constexpr std::uint32_t Notify = 0x00000100;        // SS_NOTIFY
constexpr std::uint32_t Centre = 0x00000001;        // SS_CENTER
constexpr std::uint32_t ReadOnly = 0x00000800;      // ES_READONLY
}  // namespace Style

enum class ControlFont { None, DefaultGui, Link, QuizTitle, QuizScore };

struct Control {
    int id;
    const char* className;
    std::string text;
    std::uint32_t style;
    Rect rect;
    ControlFont font;
};

constexpr int ControlCount = 12;

// The link shows the address without its scheme and final slash, so that it
// fits on the link's one line; a click opens the full address.
std::string displayedWebAddress(const std::string& address);

// The controls in their order of creation, texts taken from the quiz.
std::array<Control, ControlCount> controls(const Quiz& quiz);

struct Placement {
    int id;
    Rect rect;
};

constexpr int PlacementCount = 6;

// Where the controls on the right and the explanation go for a client
// width; the others keep their creation places. At 324 pixels or less the
// explanation gets no width.
std::array<Placement, PlacementCount> placements(int clientWidth);

// Height of the link's underlined font for the link's client height.
int linkFontHeight(int clientHeight);

enum class Coloring {
    Link,         // link colour on the panel colour
    PanelColour,  // system text colour on the panel colour
    Default,      // left to the system: the one-pixel rules
};

Coloring coloringFor(int controlId);

}  // namespace kelvo::HeaderLayout
