// The designer's configuration dialog.
#include "designer_resources.h"
#include "saver_host.h"

BOOL WINAPI PrepareDialogClasses(HINSTANCE) { return TRUE; }

INT_PTR CALLBACK ConfigurationDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (wParam == IDOK) EndDialog(dialog, 0);
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
  }
  return FALSE;
}
