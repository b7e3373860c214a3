/* Identifiers of the resources the player carries besides the quiz data,
   shared by kelvo.rc, the code and the tests. Plain macros, so that the
   resource compiler reads them too. */
#pragma once

#define KELVO_QUESTION_PANEL_DIALOG 1001
#define KELVO_HEADER_PANEL_DIALOG 1002
#define KELVO_LINK_CURSOR 1003
#define KELVO_PLAY_ICON 1004
#define KELVO_STOP_ICON 1005

#ifndef RC_INVOKED
namespace kelvo::ResourceIds {

constexpr int QuestionPanelDialog = KELVO_QUESTION_PANEL_DIALOG;
constexpr int HeaderPanelDialog = KELVO_HEADER_PANEL_DIALOG;
constexpr int LinkCursor = KELVO_LINK_CURSOR;
constexpr int PlayIcon = KELVO_PLAY_ICON;
constexpr int StopIcon = KELVO_STOP_ICON;
// The icon the shell shows for the file; no window uses it.
constexpr const char* ApplicationIcon = "A";

}  // namespace kelvo::ResourceIds
#endif
