// The Module page: the packaged saver's name and comment lines, and the Create button that
// builds it from the current settings.
#include <windows.h>
#include <commdlg.h>

#include "create_outcome.h"
#include "designer_folder.h"
#include "designer_build.h"
#include "designer_help.h"
#include "designer_session.h"
#include "designer_pages.h"
#include "designer_resources.h"
#include "designer_state.h"
#include "input_path.h"
#include "message_text.h"
#include "module_name.h"
#include "page_controls.h"
#include "saver_host.h"
#include "system_text.h"

namespace {

const int kNameField = 1011;
const int kBrowseButton = 1031, kCreateButton = 1032;
// Field 1011 + i holds setting i: the name, then the five comment lines.
const SettingId kFields[] = {kModuleName, kMemo1, kMemo2, kMemo3, kMemo4, kMemo5};

const DWORD helpTable[] = {1011, 28000, 1031, 28000, 1012, 29000, 1013, 29000, 1014, 29000,
                           1015, 29000, 1016, 29000, 1032, 30000, 0, 0};

// Above this a saver takes long to start and to pass around; Create asks first.
const uint64_t kLargeSaverBytes = 50ull << 20;
const UINT kMeasureSaver = WM_APP + 10;

bool IsLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

void SetSizeLine(HWND page, const MessageText& text) {
  if (!DialogHost(page)->win9x) {
    SetDlgItemTextW(page, IDC_SAVER_SIZE, text.text);
    return;
  }
  char ansi[512];
  WideCharToMultiByte(CP_ACP, 0, text.text, -1, ansi, sizeof ansi, nullptr, nullptr);
  SetDlgItemTextA(page, IDC_SAVER_SIZE, ansi);
}

// The size of the saver Create would write from the store as it is, in kilobytes rounded up,
// digits grouped in threes.
void ShowSaverSize(HWND page) {
  const uint64_t kilobytes = (MeasureDesignerSaver(DialogSession(page)) + 1023) / 1024;
  wchar_t digits[32];
  int length = 0;
  wchar_t reversed[32];
  uint64_t left = kilobytes;
  do {
    if (length > 0 && length % 4 == 3) reversed[length++] = L',';
    reversed[length++] = static_cast<wchar_t>(L'0' + left % 10);
    left /= 10;
  } while (left > 0 && length < 30);
  for (int i = 0; i < length; ++i) digits[i] = reversed[length - 1 - i];
  digits[length] = L'\0';
  MessageText line;
  line.Fill(DialogHost(page), IDS_SAVER_SIZE, {digits});
  SetSizeLine(page, line);
}

// True to go on: the saver is not larger than a screen saver should be, or the user wants it so.
bool AcceptSaverSize(HWND page) {
  const uint64_t bytes = MeasureDesignerSaver(DialogSession(page));
  if (bytes <= kLargeSaverBytes) return true;
  wchar_t numberText[12];
  WideText number(numberText, 12);
  number.AddNumber(static_cast<int>((bytes + (1u << 20) - 1) >> 20));
  MessageText message;
  message.Fill(DialogHost(page), IDS_SIZE_WARNING, {numberText});
  return Show(page, message, MB_YESNO | MB_DEFBUTTON2 | MB_ICONEXCLAMATION) == IDYES;
}

void Open(HWND page) {
  for (int i = 0; i < 6; ++i) {
    ReadSettingIntoField(page, kNameField + i, kFields[i]);
    LimitSettingField(page, kNameField + i);
  }
  // Worked out once the page is shown: the walk reads every picture.
  MessageText waiting;
  waiting.Fill(DialogHost(page), IDS_SAVER_SIZE_UNKNOWN, {});
  SetSizeLine(page, waiting);
  PostMessageA(page, kMeasureSaver, 0, 0);
}

void Save(HWND page) {
  for (int i = 0; i < 6; ++i) WriteFieldSetting(page, kNameField + i, kFields[i]);
}

int Message(HWND page, UINT text, UINT buttons) {
  return ShowFixedMessage(DialogHost(page), page, text, IDS_CAPTION, buttons);
}

void Browse(HWND page) {
  char name[kSettingBufferSize];
  GetDlgItemTextA(page, kNameField, name, sizeof name);
  // A save dialog, for the file is about to be written; it asks nothing about an existing
  // file, since Create asks that when it is about to replace it.
  BrowseForFile(page, SaveFileDialog, IDS_SAVER_FILTER, IDS_SAVER_TITLE, "scr", OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
                name, sizeof name);
  FixUpModuleName(name, sizeof name, IsLeadByte);
  SetDlgItemTextA(page, kNameField, name);
}

void Create(HWND page) {
  char name[kSettingBufferSize] = "";
  GetDlgItemTextA(page, kNameField, name, sizeof name);
  // A name that already holds ".scr" keeps its own letters in the field and on disk.
  if (name[0] != ' ' && name[0] != '\0' && FixUpModuleName(name, sizeof name, IsLeadByte))
    SetDlgItemTextA(page, kNameField, name);

  // The comment lines reach the builder through the settings, and they are kept even when no
  // build follows.
  Save(page);

  GetDlgItemTextA(page, kNameField, name, sizeof name);
  if (name[0] == '\0' || name[0] == ' ') {
    Message(page, IDS_NO_NAME, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  // A name without a folder belongs beside the designer. The current folder is no guide: every
  // file dialog moves it to the folder last browsed.
  // With a scene file open, its folder takes that place.
  char path[kMaxInputPath];
  if (!ResolveInputPath(DialogSession(page)->folder, name, WindowsPaths, path, sizeof path)) {
    Message(page, IDS_BUILD_FAILED, MB_OK | MB_ICONHAND);
    return;
  }

  HANDLE existing = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
  if (existing != INVALID_HANDLE_VALUE) {
    CloseHandle(existing);
    if (Message(page, IDS_OVERWRITE, MB_YESNO | MB_DEFBUTTON2 | MB_ICONEXCLAMATION) != IDYES) return;
  }

  if (!CheckOutputWritable(page, path) || !AcceptSaverSize(page)) return;
  BuildAndReport(page, path);
  ShowSaverSize(page);
}

}  // namespace

INT_PTR CALLBACK ModulePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      Open(page);
      break;
    case WM_DESTROY:
      Save(page);
      break;
    case WM_COMMAND:
      if (wParam == kBrowseButton) Browse(page);
      if (wParam == kCreateButton) Create(page);
      if (HIWORD(wParam) == EN_CHANGE) KeepSettingFieldWithinLimit(page, LOWORD(wParam));
      NoteControlChange(page, message, wParam, lParam);
      break;
    case kMeasureSaver:
      ShowSaverSize(page);
      break;
    case WM_HELP:
    case WM_CONTEXTMENU:
      ShowContextHelp(message, wParam, lParam, helpTable);
      break;
  }
  return 0;
}
