#include "settings_store.h"

#include <cstring>

#include "settings_value.h"

int32_t ReadIntegerSetting(SettingsStore* store, const char* section, const char* key, const char* fallback) {
  char text[kSettingBufferSize];
  store->readText(store, section, key, fallback, text);
  return ParseSettingInteger(text);
}

bool WriteIntegerSetting(SettingsStore* store, const char* section, const char* key, int32_t value) {
  char text[12];
  FormatSettingInteger(value, text);
  return store->writeText(store, section, key, text);
}

size_t CopySettingText(const char* text, size_t length, char value[kSettingBufferSize]) {
  if (length > kMaxSettingLength) length = kMaxSettingLength;
  if (length > 0) std::memcpy(value, text, length);
  value[length] = '\0';
  return length;
}
