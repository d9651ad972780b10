// The dialog's File menu: Open, Save, Save As and Close Scene for scene files, with Ctrl+O and
// Ctrl+S, the scene's name and an unsaved-changes mark in the title bar, and the question before
// unsaved changes would be lost.
#pragma once
#include <windows.h>

// Puts the menu on the dialog (growing it by the menu's height) and opens the scene named on the
// command line, else the one remembered from the last run.
void StartSceneFiles(HWND dialog);
// True when the message was one of the menu's keys, which it then carried out.
bool TranslateSceneKeys(HWND dialog, MSG* message);
// A command of the menu; false for any other.
bool HandleSceneCommand(HWND dialog, WPARAM command);
// Before the dialog closes: false when the user chose to stay (or a save failed).
bool ConfirmSceneClose(HWND dialog);
// A control of the shown page was changed by the user: the title shows the mark at once.
void NotePageEdited(HWND page);
void ShowSceneTitle(HWND dialog);
