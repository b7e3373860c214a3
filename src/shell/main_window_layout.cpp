#include "shell/main_window_layout.h"

namespace kelvo::MainWindowGeometry {

Layout layout(int clientWidth, int clientHeight) {
    Layout result;
    // The header's bottom border and the question panel's top border share row 50.
    result.questionPanel = {5, 50, clientWidth - 11, clientHeight - 68};
    result.headerPanel = {5, 2, clientWidth - 11, 49};
    result.versionLabel = {clientWidth - 145, clientHeight - 16, 140, 15};
    return result;
}

Rect versionLabelAtCreation(int clientHeight) {
    return {725, clientHeight - 16, 130, 15};
}

Point centredOrigin(const Edges& desktop, const Edges& window) {
    const int desktopWidth = desktop.right - desktop.left;
    const int desktopHeight = desktop.bottom - desktop.top;
    const int windowWidth = window.right - window.left;
    const int windowHeight = window.bottom - window.top;
    return {desktop.left + (desktopWidth - windowWidth) / 2, desktop.top + (desktopHeight - windowHeight) / 2};
}

}  // namespace kelvo::MainWindowGeometry
