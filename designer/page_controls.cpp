#include "page_controls.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include "designer_state.h"
#include "scene_commands.h"
#include "saver_host.h"
#include "setting_table.h"
#include "settings_value.h"
#include "system_text.h"
#include "ui_language.h"

void ReadSettingIntoField(HWND page, int id, SettingId setting, int character, int slot) {
  char text[kSettingBufferSize];
  ReadSetting(DesignerSettings(page), setting, text, character, slot);
  SetDlgItemTextA(page, id, text);
}

void WriteFieldSetting(HWND page, int id, SettingId setting, int character, int slot) {
  WriteFieldSetting(DesignerSettings(page), page, id, setting, character, slot);
}

void WriteFieldSetting(SettingsStore* store, HWND page, int id, SettingId setting, int character, int slot) {
  char text[kSettingBufferSize] = "";
  GetDlgItemTextA(page, id, text, sizeof text);
  WriteSetting(store, setting, text, character, slot);
}

int32_t ReadSettingInteger(HWND page, SettingId setting, int character) {
  return ReadSettingNumber(DesignerSettings(page), setting, character);
}

void WriteSettingInteger(HWND page, SettingId setting, int32_t value, int character) {
  WriteSettingNumber(DesignerSettings(page), setting, value, character);
}

void WriteSettingInteger(SettingsStore* store, SettingId setting, int32_t value, int character) {
  WriteSettingNumber(store, setting, value, character);
}

void ReadSettingIntoCheck(HWND page, int id, SettingId setting, int character) {
  int32_t flag = ReadSettingInteger(page, setting, character);
  SendDlgItemMessageA(page, id, BM_SETCHECK, flag != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void WriteCheckSetting(HWND page, int id, SettingId setting, int character) {
  WriteCheckSetting(DesignerSettings(page), page, id, setting, character);
}

void WriteCheckSetting(SettingsStore* store, HWND page, int id, SettingId setting, int character) {
  bool checked = SendDlgItemMessageA(page, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
  WriteSettingNumber(store, setting, checked ? 1 : 0, character);
}

HWND CreatePageTrackbar(HWND page, int id, int x, int y, int width, int height) {
  // 4 dialog units across and 8 down are 6 and 12 pixels where the places were laid out.
  RECT units = {0, 0, 4, 8};
  MapDialogRect(page, &units);
  int left = MulDiv(x, units.right, 6), top = MulDiv(y, units.bottom, 12);
  int cx = MulDiv(width, units.right, 6), cy = MulDiv(height, units.bottom, 12);
  return CreateControl(DialogHost(page), "msctls_trackbar32", WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_HORZ, left, top,
                       cx, cy, page, id);
}

void SetTrackbar(HWND trackbar, int32_t minimum, int32_t maximum, int32_t position) {
  SendMessageA(trackbar, TBM_SETRANGEMIN, FALSE, static_cast<int16_t>(minimum));
  SendMessageA(trackbar, TBM_SETRANGEMAX, FALSE, static_cast<int16_t>(maximum));
  // Some trackbars place the thumb for a new range only when the position changes: a new
  // slider at 0 asked for 0 would keep the thumb where 0 lay in the old range.
  SendMessageA(trackbar, TBM_SETPOS, FALSE, static_cast<int16_t>(minimum));
  SendMessageA(trackbar, TBM_SETPOS, TRUE, position);
}

int32_t TrackbarPosition(HWND trackbar) {
  return static_cast<int32_t>(SendMessageA(trackbar, TBM_GETPOS, 0, 0));
}

namespace {

// "|" stands for the zero bytes between a filter's parts. Found by characters, so that the
// second byte of a double-byte character is never taken for it.
void SplitFilter(FixedText* filter) {
  for (wchar_t* p = filter->wide; *p; ++p)
    if (*p == L'|') *p = L'\0';
  for (char* p = filter->ansi; *p;) {
    char* next = CharNextA(p);
    if (*p == '|') *p = '\0';
    p = next;
  }
}

}  // namespace

bool BrowseForFile(HWND page, FileDialogKind kind, UINT filterId, UINT titleId, const char* defaultExtension,
                   DWORD flags, char* path, int capacity) {
  const SaverHost* host = DialogHost(page);
  FixedText filter, title;
  LoadFixedText(host, filterId, &filter);
  LoadFixedText(host, titleId, &title);
  SplitFilter(&filter);

  // The settings hold paths in the system's code page; on the NT family a path that does not fit
  // the buffer there is not taken, rather than stored cut short.
  char chosen[kSettingBufferSize];
  if (host->win9x) {
    lstrcpynA(chosen, path, sizeof chosen);
    OPENFILENAMEA record = {};
    record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    record.hwndOwner = page;
    record.lpstrFilter = filter.ansi;
    record.lpstrFile = chosen;
    record.nMaxFile = sizeof chosen;
    record.lpstrTitle = title.ansi;
    record.Flags = flags;
    record.lpstrDefExt = defaultExtension;
    if (!(kind == SaveFileDialog ? GetSaveFileNameA(&record) : GetOpenFileNameA(&record))) return false;
  } else {
    wchar_t file[MAX_PATH], extension[8];
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, file, MAX_PATH)) file[0] = L'\0';
    if (!MultiByteToWideChar(CP_ACP, 0, defaultExtension, -1, extension, 8)) extension[0] = L'\0';
    OPENFILENAMEW record = {};
    record.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    record.hwndOwner = page;
    record.lpstrFilter = filter.wide;
    record.lpstrFile = file;
    record.nMaxFile = MAX_PATH;
    record.lpstrTitle = title.wide;
    record.Flags = flags;
    record.lpstrDefExt = extension;
    if (!(kind == SaveFileDialog ? GetSaveFileNameW(&record) : GetOpenFileNameW(&record))) return false;
    if (!WideCharToMultiByte(CP_ACP, 0, file, -1, chosen, sizeof chosen, nullptr, nullptr)) return false;
  }
  lstrcpynA(path, chosen, capacity);
  return true;
}

namespace {

// One chosen name into the list, from the folder and the name the dialog gave.
void AddChosen(ChosenFiles* chosen, const wchar_t* folder, const wchar_t* name) {
  if (chosen->count >= kMaxChosenFiles) return;
  wchar_t path[MAX_PATH * 2];
  int length = 0;
  for (const wchar_t* p = folder; *p && length < MAX_PATH * 2 - 2; ++p) path[length++] = *p;
  if (name) {
    if (length > 0 && path[length - 1] != L'\\') path[length++] = L'\\';
    for (const wchar_t* p = name; *p && length < MAX_PATH * 2 - 1; ++p) path[length++] = *p;
  }
  path[length] = L'\0';
  BOOL lossy = FALSE;
  char* out = chosen->names[chosen->count];
  const bool fits =
      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path, -1, out, kSettingBufferSize, nullptr, &lossy) > 0;
  if (!fits) lstrcpynA(out, "?", kSettingBufferSize);
  chosen->unusable[chosen->count++] = !fits || lossy;
}

}  // namespace

bool BrowseForFiles(HWND page, UINT filterId, UINT titleId, const char* defaultExtension, const char* start,
                    ChosenFiles* chosen) {
  const SaverHost* host = DialogHost(page);
  FixedText filter, title;
  LoadFixedText(host, filterId, &filter);
  LoadFixedText(host, titleId, &title);
  SplitFilter(&filter);
  chosen->count = 0;
  // Room for many names: the folder once, then each name after it.
  const int kCapacity = 32768;
  wchar_t* buffer = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, kCapacity * sizeof(wchar_t)));
  if (!buffer) return false;
  const DWORD flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_EXPLORER;
  bool confirmed = false;
  if (host->win9x) {
    char* ansi = reinterpret_cast<char*>(buffer);
    lstrcpynA(ansi, start, kSettingBufferSize);
    OPENFILENAMEA record = {};
    record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    record.hwndOwner = page;
    record.lpstrFilter = filter.ansi;
    record.lpstrFile = ansi;
    record.nMaxFile = kCapacity * sizeof(wchar_t);
    record.lpstrTitle = title.ansi;
    record.Flags = flags;
    record.lpstrDefExt = defaultExtension;
    confirmed = GetOpenFileNameA(&record) != FALSE;
    // The 9x family's names are the code page's already; widened here only to share the parsing.
    if (confirmed) {
      wchar_t* wide = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, kCapacity * sizeof(wchar_t)));
      wchar_t folder[MAX_PATH * 2] = L"";
      int at = 0;
      for (int part = 0; wide && ansi[at] && part < kMaxChosenFiles + 1; ++part) {
        const int length = lstrlenA(ansi + at);
        if (!MultiByteToWideChar(CP_ACP, 0, ansi + at, -1, wide, kCapacity)) break;
        if (part == 0) {
          lstrcpynW(folder, wide, MAX_PATH * 2);
        } else {
          AddChosen(chosen, folder, wide);
        }
        at += length + 1;
      }
      if (wide && chosen->count == 0) AddChosen(chosen, folder, nullptr);
      if (wide) HeapFree(GetProcessHeap(), 0, wide);
    }
  } else {
    if (!MultiByteToWideChar(CP_ACP, 0, start, -1, buffer, MAX_PATH)) buffer[0] = L'\0';
    wchar_t extension[8];
    if (!MultiByteToWideChar(CP_ACP, 0, defaultExtension, -1, extension, 8)) extension[0] = L'\0';
    OPENFILENAMEW record = {};
    record.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    record.hwndOwner = page;
    record.lpstrFilter = filter.wide;
    record.lpstrFile = buffer;
    record.nMaxFile = kCapacity;
    record.lpstrTitle = title.wide;
    record.Flags = flags;
    record.lpstrDefExt = extension;
    confirmed = GetOpenFileNameW(&record) != FALSE;
    if (confirmed) {
      // One file: its whole path. Several: the folder, then each name, then an empty string.
      const wchar_t* folder = buffer;
      for (const wchar_t* name = folder + lstrlenW(folder) + 1; *name; name += lstrlenW(name) + 1)
        AddChosen(chosen, folder, name);
      if (chosen->count == 0) AddChosen(chosen, folder, nullptr);
    }
  }
  HeapFree(GetProcessHeap(), 0, buffer);
  return confirmed;
}

void LimitSettingField(HWND page, int id) {
  SendDlgItemMessageA(page, id, EM_LIMITTEXT, kMaxSettingLength, 0);
}

void KeepSettingFieldWithinLimit(HWND page, int id) {
  // A double-byte character counts once towards the control's own limit but twice here.
  char text[2 * kSettingBufferSize + 2];
  if (GetDlgItemTextA(page, id, text, sizeof text) <= static_cast<int>(kMaxSettingLength)) return;
  char* end = text;
  for (char* next; *end && (next = CharNextA(end)) - text <= static_cast<int>(kMaxSettingLength);) end = next;
  *end = '\0';
  SetDlgItemTextA(page, id, text);
  SendDlgItemMessageA(page, id, EM_SETSEL, end - text, end - text);
  MessageBeep(MB_OK);
}

void NoteControlChange(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  const UINT code = HIWORD(wParam);
  // A push button changes nothing by itself: what it chooses arrives as the field's change.
  const bool box = code == BN_CLICKED && lParam &&
                   (GetWindowLongA(reinterpret_cast<HWND>(lParam), GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX;
  if (message == WM_HSCROLL || (message == WM_COMMAND && (code == EN_CHANGE || box))) NoteSceneEdited(page);
}

void NoteSceneEdited(HWND page) {
  DialogContext* context = DialogContextOf(page);
  if (!context || context->pageOpening) return;
  PostMessageA(GetAncestor(page, GA_ROOT), kSceneEdited, 0, 0);
  NotePageEdited(page);
}
