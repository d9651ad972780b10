// The player's information dialog: a packaged saver has nothing to configure, so it shows the five
// comment lines that its author stored at the front of the scene package.
#include "package_records.h"
#include "player_resources.h"
#include "saver_host.h"

namespace {

const DWORD LineCapacity = kMaxMemoLineLength;
char lineBuffer[LineCapacity + 1];

bool ReadExactly(HANDLE file, void* into, DWORD size) {
  DWORD read = 0;
  return ReadFile(file, into, size, &read, nullptr) && read == size;
}

// One memo entry into lineBuffer. A stored length beyond the buffer is damage: the first 259
// bytes are shown and the rest of that entry is skipped, so the next line starts where it should.
void ReadMemoLine(HANDLE file) {
  lineBuffer[0] = '\0';
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD length;
  if (!ReadExactly(file, &length, sizeof length) || length == 0) return;
  DWORD wanted = length < LineCapacity ? length : LineCapacity;
  DWORD read = 0;
  if (!ReadFile(file, lineBuffer, wanted, &read, nullptr)) read = 0;
  lineBuffer[read] = '\0';
  if (length > wanted) SetFilePointer(file, static_cast<LONG>(length - wanted), nullptr, FILE_CURRENT);
}

void ShowMemoLines(HWND dialog) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) SetFilePointer(file, kPlayerImageSize, nullptr, FILE_BEGIN);
  for (uint32_t line = 0; line < kMemoLineCount; ++line) {
    ReadMemoLine(file);
    SetDlgItemTextA(dialog, IDC_MEMO_LINE1 + line, lineBuffer);
  }
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
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
