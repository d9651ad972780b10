// The page procedures of the configuration dialog. Each editing page fills its controls from
// the settings when it is created and writes all of them back when it is destroyed.
#pragma once
#include <windows.h>

INT_PTR CALLBACK InfoPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK BackgroundPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK CharacterPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
// The Character page's line naming its frames drawn with their own transparency (numbered from 1
// as they play), taken from the thumbnails the dialog shows with it; no line when there are none.
void ShowOwnTransparency(HWND page, const int* frames, int count);
INT_PTR CALLBACK ModulePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// A wallpaper or sound file chosen or dropped on the Background page: its field takes the name and
// its box is ticked, as a file given is one meant to be shown or heard.
enum BackgroundFile { BackgroundWallpaper, BackgroundSound };
void GiveBackgroundFile(HWND page, BackgroundFile which, const char* path);
