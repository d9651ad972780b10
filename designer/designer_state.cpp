#include "designer_state.h"

#include "windows_profile_store.h"

HWND tabControl;
HWND currentPage;
signed char currentTab;
HWND pageTrackbars[4];
char valueBuffer[kSettingBufferSize];
// White until the user stores colours of their own; kept for the life of the process only.
COLORREF customColours[16] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
                              0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};

HHOOK tabKeysHook;

const char kHelpFile[] = "MORVANE.HLP";

SettingsStore* DesignerSettings() {
  static WindowsProfileStore store;
  return &store;
}
