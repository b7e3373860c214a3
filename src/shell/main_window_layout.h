// Geometry of the main window: its size, where it opens, where its two
// panels and the version label go.
#pragma once

#include "platform/geometry.h"

namespace kelvo::MainWindowGeometry {

constexpr int Width = 544;  // outer size at creation
constexpr int Height = 375;
constexpr int VersionLabelId = 8000;

struct Layout {
    Rect questionPanel;
    Rect headerPanel;
    Rect versionLabel;
};

// Where the panels and the label go in a client area of the given size.
Layout layout(int clientWidth, int clientHeight);

// The label's place while the window is being created, before any layout.
Rect versionLabelAtCreation(int clientHeight);

// Top-left corner that centres the window on the desktop; integer halves
// round toward zero, also when the window is larger than the desktop.
Point centredOrigin(const Edges& desktop, const Edges& window);

}  // namespace kelvo::MainWindowGeometry
