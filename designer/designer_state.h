// What the configuration dialog and its pages share while the dialog runs. Only one page
// exists at a time, so the pages share the slider slots safely.
#pragma once
#include <windows.h>

#include "edit_overlay.h"
#include "settings_store.h"

struct SaverHost;

extern HWND tabControl;
extern HWND currentPage;
// The tab of the page now shown; a page finds its character from it at every message, and a
// tab switch changes it only after the old page has saved under it.
extern signed char currentTab;
extern HWND pageTrackbars[4];
extern COLORREF customColours[16];
// The dialog's hook that turns Ctrl+Tab and its kin into tab switches, while the dialog runs.
extern HHOOK tabKeysHook;

const int kInfoTab = 0;
const int kBackgroundTab = 1;
const int kFirstCharacterTab = 2;
const int kModuleTab = 22;
const int kTabCount = 23;

struct DesignerSession;

// What the configuration dialog keeps from its WM_INITDIALOG to its end: the host that started
// it and the session whose store the pages read and write.
struct DialogContext {
  const SaverHost* host;
  DesignerSession* session;
  HACCEL keys;       // the File menu's keys
  bool pageOpening;  // a page is filling its controls: their changes are not the user's
  bool edited;       // the user changed a control of the shown page since it last saved
  // The shown page's values over the session's store, as the preview and the thumbnails read
  // them; it follows the store when a scene file is opened or closed.
  EditOverlay edits;
};

// From the dialog or any window in it.
void KeepDialogContext(HWND dialog, DialogContext* context);
DialogContext* DialogContextOf(HWND window);
const SaverHost* DialogHost(HWND window);
DesignerSession* DialogSession(HWND window);
// The session's store: MORVANE.INI in the Windows folder, or the open scene file.
SettingsStore* DesignerSettings(HWND window);
// The same with the shown page's values as it would write them now: what the preview plays.
EditOverlay* DialogEdits(HWND window);
// Where the store's relative names belong: the scene file's folder, or the designer's.
const char* DesignerSettingsFolder(HWND window);

extern const char kHelpFile[];  // "MORVANE.HLP"
