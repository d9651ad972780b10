#include "designer_help.h"

#include "designer_folder.h"
#include "designer_state.h"
#include "user_guide_window.h"

namespace {

// The old viewer is asked only where it can serve: the file exists beside the designer, and the
// system predates Vista, which ships no viewer for it (only a stub that says so).
bool OldViewerServes(char path[MAX_PATH]) {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version) || version.dwMajorVersion >= 6) return false;
  DesignerFolder(path);
  if (lstrlenA(path) + lstrlenA(kHelpFile) >= MAX_PATH) return false;
  lstrcatA(path, kHelpFile);
  return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

const char* TopicOfTab(int tab) {
  if (tab == kBackgroundTab) return "background";
  if (tab == kModuleTab) return "module";
  if (tab >= kFirstCharacterTab && tab < kModuleTab) return "character";
  return "info";
}

// The context number of the control, or 0 when the page's table does not list it.
DWORD ContextOf(HWND control, const DWORD* table) {
  DWORD id = static_cast<DWORD>(GetWindowLongPtrA(control, GWLP_ID));
  for (const DWORD* pair = table; pair[0] != 0 || pair[1] != 0; pair += 2)
    if (pair[0] == id) return pair[1];
  return 0;
}

}  // namespace

void ShowHelpForTab(HWND dialog, int tab) {
  char file[MAX_PATH];
  if (OldViewerServes(file)) {
    WinHelpA(dialog, file, HELP_FINDER, 0);
    return;
  }
  ShowUserGuide(dialog, TopicOfTab(tab), false);
}

void ShowContextHelp(UINT message, WPARAM wParam, LPARAM lParam, const DWORD* table) {
  HWND control = nullptr;
  UINT command = 0;
  if (message == WM_HELP) {
    control = static_cast<HWND>(reinterpret_cast<const HELPINFO*>(lParam)->hItemHandle);
    command = HELP_WM_HELP;
  } else if (message == WM_CONTEXTMENU) {
    control = reinterpret_cast<HWND>(wParam);
    command = HELP_CONTEXTMENU;
  }
  DWORD context = control ? ContextOf(control, table) : 0;
  if (context == 0) return;
  char file[MAX_PATH];
  if (OldViewerServes(file)) {
    WinHelpA(control, file, command, reinterpret_cast<ULONG_PTR>(table));
    return;
  }
  char token[16];
  wsprintfA(token, "%lu", static_cast<unsigned long>(context));
  ShowUserGuide(GetAncestor(control, GA_ROOT), token, true);
}

void CloseHelp(HWND dialog) {
  char file[MAX_PATH];
  if (OldViewerServes(file)) WinHelpA(dialog, file, HELP_QUIT, 0);
}
