#include "page_controls.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include "designer_state.h"
#include "saver_host.h"
#include "settings_value.h"
#include "system_text.h"
#include "ui_language.h"

void ReadSettingIntoField(HWND page, int id, const char* section, const char* key) {
  SettingsStore* store = DesignerSettings();
  store->readText(store, section, key, "", valueBuffer);
  SetDlgItemTextA(page, id, valueBuffer);
}

void WriteFieldSetting(HWND page, int id, const char* section, const char* key) {
  valueBuffer[0] = '\0';
  GetDlgItemTextA(page, id, valueBuffer, sizeof valueBuffer);
  SettingsStore* store = DesignerSettings();
  store->writeText(store, section, key, valueBuffer);
}

int32_t ReadSettingInteger(const char* section, const char* key, const char* fallback) {
  SettingsStore* store = DesignerSettings();
  store->readText(store, section, key, fallback, valueBuffer);
  return ParseSettingInteger(valueBuffer);
}

void WriteSettingInteger(const char* section, const char* key, int32_t value) {
  FormatSettingInteger(value, valueBuffer);
  SettingsStore* store = DesignerSettings();
  store->writeText(store, section, key, valueBuffer);
}

void ReadSettingIntoCheck(HWND page, int id, const char* section, const char* key, const char* fallback) {
  int32_t flag = ReadSettingInteger(section, key, fallback);
  SendDlgItemMessageA(page, id, BM_SETCHECK, flag != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void WriteCheckSetting(HWND page, int id, const char* section, const char* key) {
  bool checked = SendDlgItemMessageA(page, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
  WriteSettingInteger(section, key, checked ? 1 : 0);
}

HWND CreatePageTrackbar(HWND page, int id, int x, int y, int width, int height) {
  // 4 dialog units across and 8 down are 6 and 12 pixels where the places were laid out.
  RECT units = {0, 0, 4, 8};
  MapDialogRect(page, &units);
  int left = MulDiv(x, units.right, 6), top = MulDiv(y, units.bottom, 12);
  int cx = MulDiv(width, units.right, 6), cy = MulDiv(height, units.bottom, 12);
  return CreateControl("msctls_trackbar32", WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_HORZ, left, top, cx, cy, page, id);
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

const wchar_t* ResourceText(UINT id) {
  // Several texts are in use at once (the parts of one message), so each call gets its own slot
  // of a small ring.
  static wchar_t texts[4][256];
  static int next;
  wchar_t* text = texts[next];
  next = (next + 1) % 4;
  LoadStringIn(id, text, 256);
  return text;
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

bool BrowseWithValueBuffer(HWND page, FileDialogKind kind, UINT filterId, UINT titleId, const char* defaultExtension,
                           DWORD flags) {
  FixedText filter, title;
  LoadFixedText(filterId, &filter);
  LoadFixedText(titleId, &title);
  SplitFilter(&filter);

  // The settings hold paths in the system's code page; on the NT family a path that does not fit
  // the buffer there is not taken, rather than stored cut short.
  char chosen[kSettingBufferSize];
  if (win9xPlatform) {
    lstrcpynA(chosen, valueBuffer, sizeof chosen);
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
    if (!MultiByteToWideChar(CP_ACP, 0, valueBuffer, -1, file, MAX_PATH)) file[0] = L'\0';
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
  lstrcpynA(valueBuffer, chosen, sizeof valueBuffer);
  return true;
}

void BrowseIntoField(HWND page, int field, UINT filterId, UINT titleId, const char* defaultExtension) {
  GetDlgItemTextA(page, field, valueBuffer, sizeof valueBuffer);
  BrowseWithValueBuffer(page, OpenFileDialog, filterId, titleId, defaultExtension, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
  SetDlgItemTextA(page, field, valueBuffer);
}
