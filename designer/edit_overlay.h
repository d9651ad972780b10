// The settings as the dialog shows them: the values of the page shown, as it would write them,
// over what the store holds. The live preview and the thumbnails read these, so an edit shows at
// once while the store is written only when the page closes, as it always was; another process
// reading the store (a saver, the display settings' preview) never meets a value half-edited.
#pragma once
#include "settings_store.h"

const int kMaxOverlaidSettings = 32;  // more than any page writes

struct OverlaidSetting {
  char section[16];
  char key[16];
  char value[kSettingBufferSize];
};

struct EditOverlay {
  SettingsStore base;
  SettingsStore* under;
  int count;
  OverlaidSetting settings[kMaxOverlaidSettings];
};

void OpenEditOverlay(EditOverlay* overlay, SettingsStore* under);
// Forgets every value written to the overlay: it reads as the store again.
void ClearEditOverlay(EditOverlay* overlay);
