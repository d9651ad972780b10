// The Module page: the packaged saver's name and comment lines, and the Create button that
// builds it from the current settings.
#include <windows.h>
#include <commdlg.h>

#include "create_outcome.h"
#include "designer_folder.h"
#include "designer_help.h"
#include "designer_pages.h"
#include "designer_resources.h"
#include "designer_state.h"
#include "input_path.h"
#include "module_name.h"
#include "page_controls.h"
#include "system_text.h"

namespace {

const int kNameField = 1011;
const int kBrowseButton = 1031, kCreateButton = 1032;
// Field 1011 + i holds setting i: the name, then the five comment lines.
const SettingId kFields[] = {kModuleName, kMemo1, kMemo2, kMemo3, kMemo4, kMemo5};

const DWORD helpTable[] = {1011, 28000, 1031, 28000, 1012, 29000, 1013, 29000, 1014, 29000,
                           1015, 29000, 1016, 29000, 1032, 30000, 0, 0};

bool IsLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

void Open(HWND page) {
  for (int i = 0; i < 6; ++i) ReadSettingIntoField(page, kNameField + i, kFields[i]);
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
  char folder[MAX_PATH];
  DesignerFolder(folder);
  char path[kMaxInputPath];
  if (!ResolveInputPath(folder, name, WindowsPaths, path, sizeof path)) {
    Message(page, IDS_BUILD_FAILED, MB_OK | MB_ICONHAND);
    return;
  }

  HANDLE existing = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
  if (existing != INVALID_HANDLE_VALUE) {
    CloseHandle(existing);
    if (Message(page, IDS_OVERWRITE, MB_YESNO | MB_DEFBUTTON2 | MB_ICONEXCLAMATION) != IDYES) return;
  }

  if (!CheckOutputWritable(page, path)) return;
  BuildAndReport(page, path);
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
      break;
    case WM_HELP:
    case WM_CONTEXTMENU:
      ShowContextHelp(message, wParam, lParam, helpTable);
      break;
  }
  return 0;
}
