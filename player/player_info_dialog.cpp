// The player's information dialog: a packaged saver has nothing to configure, so it shows the five
// comment lines that its author stored at the front of the scene package.
#include "own_package.h"
#include "player_resources.h"
#include "record_reader.h"
#include "saver_host.h"

namespace {

// A stored length beyond 259 bytes is damage: the first 259 bytes are shown and the rest of that
// line is passed over, so the next line starts where it should. What the file does not hold
// reads as nothing.
void ShowMemoLines(HWND dialog) {
  OwnPackage package;
  OpenOwnPackage(&package);
  RecordReader reader;
  OpenRecordReader(&reader, &package.base);
  char lineBuffer[kMaxMemoLineLength + 1];
  for (uint32_t line = 0; line < kMemoLineCount; ++line) {
    uint32_t length = ReadMemoLine(&reader, lineBuffer, kMaxMemoLineLength);
    lineBuffer[length < kMaxMemoLineLength ? length : kMaxMemoLineLength] = '\0';
    SetDlgItemTextA(dialog, IDC_MEMO_LINE1 + line, lineBuffer);
  }
  CloseOwnPackage(&package);
}

}  // namespace

BOOL WINAPI PrepareDialogClasses(HINSTANCE) { return TRUE; }

INT_PTR CALLBACK ConfigurationDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      ShowMemoLines(dialog);
      MessageBeep(MB_ICONASTERISK);
      return TRUE;
    case WM_COMMAND:
      // Only OK ends it; Esc and the caption's close button send IDCANCEL and change nothing.
      if (wParam == IDOK) {
        EndDialog(dialog, 1);
        return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}
