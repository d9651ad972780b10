#include "edit_overlay.h"

#include <cstring>
#include <strings.h>

namespace {

EditOverlay* Self(SettingsStore* store) {
  return reinterpret_cast<EditOverlay*>(store);
}

OverlaidSetting* Find(EditOverlay* overlay, const char* section, const char* key) {
  for (int i = 0; i < overlay->count; ++i) {
    OverlaidSetting& setting = overlay->settings[i];
    if (strcasecmp(setting.section, section) == 0 && strcasecmp(setting.key, key) == 0) return &setting;
  }
  return nullptr;
}

size_t ReadOverlaid(SettingsStore* store, const char* section, const char* key, const char* fallback,
                    char value[kSettingBufferSize]) {
  EditOverlay* overlay = Self(store);
  const OverlaidSetting* setting = Find(overlay, section, key);
  if (setting) return CopySettingText(setting->value, std::strlen(setting->value), value);
  return overlay->under->readText(overlay->under, section, key, fallback, value);
}

bool WriteOverlaid(SettingsStore* store, const char* section, const char* key, const char* value) {
  EditOverlay* overlay = Self(store);
  if (std::strlen(section) >= sizeof overlay->settings[0].section || std::strlen(key) >= sizeof overlay->settings[0].key)
    return false;
  OverlaidSetting* setting = Find(overlay, section, key);
  if (!setting) {
    if (overlay->count >= kMaxOverlaidSettings) return false;
    setting = &overlay->settings[overlay->count++];
    std::strcpy(setting->section, section);
    std::strcpy(setting->key, key);
  }
  CopySettingText(value, std::strlen(value), setting->value);
  return true;
}

}  // namespace

void OpenEditOverlay(EditOverlay* overlay, SettingsStore* under) {
  std::memset(overlay, 0, sizeof *overlay);
  overlay->base.readText = ReadOverlaid;
  overlay->base.writeText = WriteOverlaid;
  overlay->under = under;
}

void ClearEditOverlay(EditOverlay* overlay) {
  overlay->count = 0;
}
