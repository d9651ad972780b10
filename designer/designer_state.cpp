#include "designer_state.h"

#include "edit_overlay.h"
#include "windows_profile_store.h"

HWND tabControl;
HWND currentPage;
signed char currentTab;
HWND pageTrackbars[4];
// White until the user stores colours of their own; kept for the life of the process only.
COLORREF customColours[16] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
                              0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};

HHOOK tabKeysHook;

const char kHelpFile[] = "MORVANE.HLP";

void KeepDialogHost(HWND dialog, const SaverHost* host) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(host));
}

const SaverHost* DialogHost(HWND window) {
  return reinterpret_cast<const SaverHost*>(GetWindowLongPtrA(GetAncestor(window, GA_ROOT), DWLP_USER));
}

SettingsStore* DesignerSettings() {
  static WindowsProfileStore store;
  return &store;
}

EditOverlay* DialogEdits() {
  static EditOverlay overlay;
  if (!overlay.under) OpenEditOverlay(&overlay, DesignerSettings());
  return &overlay;
}
