// What the File menu asks of the dialog's page: the shown page saves its controls into the
// store by being taken down, and is made again from the store. The store may change only while
// no page is shown, or the page would save into the wrong one.
#pragma once
#include <windows.h>

// Takes the shown page down, which saves it into the store; true when the focus was on it.
bool TakeDownShownPage(HWND dialog);
// Shows the current tab's page from the store; focusTabs: the focus goes to the tab control, as
// the control that had it went with the old page.
void PutUpShownPage(HWND dialog, bool focusTabs);
// Both: the page saved, and shown again from the store.
void RenewShownPage(HWND dialog);
