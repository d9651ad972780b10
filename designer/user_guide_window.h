// The window that shows the user guide: its topics in a list, the chosen topic's text beside it.
#pragma once
#include <windows.h>

// Shows the guide modally over owner, opened at the topic where token marks it (a page's name or
// a control's help context number, as the guide text marks them), at the first topic when nothing
// does. With selectParagraph the marked paragraph is selected and scrolled to the top.
void ShowUserGuide(HWND owner, const char* token, bool selectParagraph);
