// Help for the configuration dialog. The designer carries its own user guide, shown in the
// dialog's language on every system. Only where the system still has its old help viewer (before
// Windows Vista) and a MORVANE.HLP sits beside the designer does help go to that file instead;
// nothing else starts a viewer, so no process is left behind and no one is asked for a file.
#pragma once
#include <windows.h>

// The Help button: the guide at the topic of the page under tab.
void ShowHelpForTab(HWND dialog, int tab);

// WM_HELP and WM_CONTEXTMENU of an editing page: the guide at the paragraph of the control,
// when the page's table lists it. table: pairs (control id, help context id) ended by (0, 0).
void ShowContextHelp(UINT message, WPARAM wParam, LPARAM lParam, const DWORD* table);

// The dialog is closing: the old viewer, if it was ever asked, closes its file too.
void CloseHelp(HWND dialog);
