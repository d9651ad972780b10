#include "designer_state.h"

#include "designer_session.h"

HWND tabControl;
HWND currentPage;
signed char currentTab;
HWND pageTrackbars[4];
// White until the user stores colours of their own; kept for the life of the process only.
COLORREF customColours[16] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
                              0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};

HHOOK tabKeysHook;

const char kHelpFile[] = "MORVANE.HLP";

void KeepDialogContext(HWND dialog, DialogContext* context) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(context));
}

DialogContext* DialogContextOf(HWND window) {
  return reinterpret_cast<DialogContext*>(GetWindowLongPtrA(GetAncestor(window, GA_ROOT), DWLP_USER));
}

const SaverHost* DialogHost(HWND window) { return DialogContextOf(window)->host; }

DesignerSession* DialogSession(HWND window) { return DialogContextOf(window)->session; }

SettingsStore* DesignerSettings(HWND window) { return SessionSettings(DialogSession(window)); }

EditOverlay* DialogEdits(HWND window) { return &DialogContextOf(window)->edits; }

const char* DesignerSettingsFolder(HWND window) { return DialogSession(window)->folder; }
