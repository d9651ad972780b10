// Files dropped on the dialog (Explorer's drag and drop, and Wine's X11 drag and drop, which
// arrives as the same message): on an Image page they fill its frames, on the Background page
// they become the wallpaper or the sound with its box ticked. What cannot be taken is listed with
// its reason, in the words of Create's message.
#pragma once
#include <windows.h>
#include <shellapi.h>

// WM_DROPFILES of the dialog: page is the page shown, of tab; the drop is finished here.
void TakeDroppedFiles(HWND dialog, HWND page, int tab, HDROP drop);

struct ChosenFiles;

// The same for files chosen together in the Browse dialog, as if dropped on the field of `slot`.
void TakeChosenFrames(HWND page, int tab, int slot, const ChosenFiles& chosen);
