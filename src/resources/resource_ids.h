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

// The quiz the authoring tool writes into the player: two LZW-compressed
// "PATCH" resources, and "IMG" resources for the pictures and clips of
// question n (type names match without regard to case: "img" is the same).
constexpr const char* PatchType = "PATCH";
constexpr const char* ImageType = "IMG";
constexpr int QuizData = 104;
constexpr int CodesData = 105;
constexpr int QuestionPictureBase = 400;   // + n: the picture, or the clip of an audio or video quiz
constexpr int RevealPictureBase = 10400;   // + n

}  // namespace kelvo::ResourceIds
#endif
