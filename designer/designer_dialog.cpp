// The designer's configuration dialog: the tab control, one page at a time beneath it, and the
// close and help buttons. There is no cancel: every page saves when it is destroyed.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include "designer_folder.h"
#include "designer_pages.h"
#include "designer_resources.h"
#include "designer_state.h"
#include "page_controls.h"
#include "saver_host.h"

namespace {

struct PageKind {
  const wchar_t* templateName;
  DLGPROC procedure;
};

PageKind PageOfTab(int tab) {
  if (tab == kInfoTab) return {L"DLG2", InfoPageProc};
  if (tab == kBackgroundTab) return {L"DLG0", BackgroundPageProc};
  if (tab == kModuleTab) return {L"DLG3", ModulePageProc};
  return {L"DLG1", CharacterPageProc};
}

void CreatePage(int tab) {
  if (tab < 0 || tab >= kTabCount) return;
  PageKind kind = PageOfTab(tab);
  currentPage = CreateDialogParamW(moduleInstance, kind.templateName, tabControl, kind.procedure, 0);
}

void DestroyCurrentPage() {
  if (currentPage) DestroyWindow(currentPage);
  currentPage = nullptr;
}

// The tab control's place is given in pixels for a dialog unit of 1.5 pixels; it follows the
// dialog's own conversion so that the pages, laid out in dialog units, stay inside it.
void CreateTabControl(HWND dialog) {
  RECT units = {0, 0, 4, 8};
  MapDialogRect(dialog, &units);
  tabControl = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS,
                               MulDiv(10, units.right, 6), MulDiv(5, units.bottom, 12), MulDiv(345, units.right, 6),
                               MulDiv(380, units.bottom, 12), dialog, nullptr, moduleInstance, nullptr);
  // The dialog's font, not the system's, as the pages use it too.
  SendMessageW(tabControl, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
  for (int tab = 0; tab < kTabCount; ++tab) {
    TCITEMW item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<wchar_t*>(ResourceText(IDS_TAB_FIRST + tab));
    item.iImage = -1;
    SendMessageW(tabControl, TCM_INSERTITEMW, tab, reinterpret_cast<LPARAM>(&item));
  }
}

void InitialiseDialog(HWND dialog) {
  char folder[MAX_PATH];
  DesignerFolder(folder);
  SetCurrentDirectoryA(folder);
  InitCommonControls();
  CreateTabControl(dialog);
  CreatePage(currentTab);
}

void SwitchPage(HWND sender) {
  // The old page saves under the old tab, so it must go before currentTab changes.
  DestroyCurrentPage();
  currentTab = static_cast<signed char>(SendMessageW(sender, TCM_GETCURSEL, 0, 0) & 0xFF);
  CreatePage(currentTab);
}

void CloseDialog(HWND dialog) {
  DestroyCurrentPage();
  EndDialog(dialog, 0);
  WinHelpA(dialog, kHelpFile, HELP_QUIT, 0);
}

}  // namespace

BOOL WINAPI PrepareDialogClasses(HINSTANCE) { return TRUE; }

INT_PTR CALLBACK ConfigurationDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      InitialiseDialog(dialog);
      return TRUE;
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR*>(lParam)->code == static_cast<UINT>(TCN_SELCHANGE))
        SwitchPage(reinterpret_cast<const NMHDR*>(lParam)->hwndFrom);
      return FALSE;
    case WM_COMMAND:
      if (wParam == IDOK) {
        CloseDialog(dialog);
        return TRUE;
      }
      if (wParam == IDC_HELP_BUTTON) WinHelpA(dialog, kHelpFile, HELP_FINDER, 0);
      // Anything else, Escape's IDCANCEL among it, is ignored: there is no cancel path.
      return FALSE;
    case WM_CLOSE:
      CloseDialog(dialog);
      return TRUE;
  }
  return FALSE;
}
