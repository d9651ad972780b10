// The four operations on the designer's settings. Every place that keeps settings (the
// profile file of Windows, the portable file of the Linux tools, a test's table) implements
// the two text operations; the integer forms are the same everywhere.
#pragma once
#include <cstddef>
#include <cstdint>

#include "settings_limits.h"

class SettingsStore {
 public:
  // The value of section/key, or fallback when the key is absent (an empty value is not
  // absent), cut to 259 bytes and terminated. Returns its length.
  virtual size_t ReadText(const char* section, const char* key, const char* fallback,
                          char value[kSettingBufferSize]) = 0;
  // Replaces the value, or adds the key (and its section). False when it could not be stored.
  virtual bool WriteText(const char* section, const char* key, const char* value) = 0;

 protected:
  ~SettingsStore() {}
};

int32_t ReadIntegerSetting(SettingsStore* store, const char* section, const char* key, const char* fallback);
bool WriteIntegerSetting(SettingsStore* store, const char* section, const char* key, int32_t value);

// Copies at most 259 bytes of text into value and terminates it; returns the length.
size_t CopySettingText(const char* text, size_t length, char value[kSettingBufferSize]);
