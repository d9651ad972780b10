// What the configuration dialog and its pages share while the dialog runs. Only one page
// exists at a time, so the pages share the slider slots safely.
#pragma once
#include <windows.h>

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

// MORVANE.INI in the Windows folder.
SettingsStore* DesignerSettings();
// The same with the page shown as it is now over it (edit_overlay.h): what the preview plays.
struct EditOverlay;
EditOverlay* DialogEdits();

// The host that started the configuration dialog, from the dialog or any window in it (the
// dialog keeps it from its WM_INITDIALOG on).
void KeepDialogHost(HWND dialog, const SaverHost* host);
const SaverHost* DialogHost(HWND window);

extern const char kHelpFile[];  // "MORVANE.HLP"
