// The Info page: the title picture alone; the template shows it.
#include "designer_pages.h"

INT_PTR CALLBACK InfoPageProc(HWND, UINT, WPARAM, LPARAM) { return 0; }
