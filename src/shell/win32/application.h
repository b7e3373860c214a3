// The application: its globals, and start-up and shutdown in named steps,
// so that tests can build the real windows around a quiz of their own.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/win32/scoped_handles.h"
#include "question_panel/win32/question_panel.h"
#include "quiz/drawing_objects.h"
#include "quiz/message_sink.h"
#include "quiz/quiz.h"
#include "quiz/quiz_loader.h"

namespace kelvo {

// The one quiz, owned by the application; window procedures read it here.
extern std::unique_ptr<Quiz> theQuiz;
extern HWND headerPanelWindow;
extern HWND questionPanelWindow;
// Behind the version label; made by start-up, deleted at shutdown.
extern ScopedBrush backgroundBrush;

constexpr COLORREF BackgroundColor = 0xc8d0d4;

// Start-up's own messages: no owner window, OK button, information icon.
class InformationMessageBox : public MessageSink {
public:
    void showMessage(const char* text, const char* caption) override;
};

// The whole run: start-up, message loop, shutdown; returns the exit code.
// `panelProcedure` is the question panel's (the start-up benchmark gives another).
int runPlayer(HINSTANCE instance, QuizResourceSource& resources, MessageSink& loaderMessages,
              MessageSink& startupMessages, DLGPROC panelProcedure = questionPanelProc);

// The steps of runPlayer, in their order.
bool registerMainWindowClass(HINSTANCE instance);
void createBackgroundBrush();
// theQuiz: constructed with `drawing`, which must outlive it, then loaded.
// Media start-up (startMedia) follows it.
void createQuiz(DrawingObjects& drawing, QuizResourceSource& resources, MessageSink& messages);
// Creates the main window (with its version label) and centres it on the desktop.
HWND createMainWindow(HINSTANCE instance);
// Header panel first: building the question panel already writes score and code into it.
bool createPanels(HINSTANCE instance, HWND mainWindow, DLGPROC panelProcedure = questionPanelProc);
// Shows the main window (its first layout), then the question panel, scrolled to its top.
void showWindows(HWND mainWindow);
// Runs until the quit message; returns its exit code.
int runMessageLoop();
// Ends the panels, shuts media down (which destroys the main window of an
// audio or video quiz), deletes the background brush and the quiz; clears
// the globals.
void shutDown(HWND mainWindow);

}  // namespace kelvo
