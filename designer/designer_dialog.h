// What the File menu asks of the dialog's page: the shown page saves its controls into the
// store by being destroyed, and is made again from the store.
#pragma once
#include <windows.h>

// Saves the shown page and shows it again from the store, keeping the focus on the tab control
// when it was on the page.
void RenewShownPage(HWND dialog);
void DestroyShownPage(HWND dialog);
void CreateShownPage(HWND dialog);
