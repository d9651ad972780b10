// The four operations on the designer's settings. Every place that keeps settings (the
// profile file of Windows, the portable file of the Linux tools, a test's table) fills in the
// table of the two text operations; the integer forms are the same everywhere.
#pragma once
#include <cstddef>
#include <cstdint>

#include "settings_limits.h"

struct SettingsStore {
  // The value of section/key, or fallback when the key is absent (an empty value is not
  // absent), cut to 259 bytes and terminated. Returns its length.
  size_t (*readText)(SettingsStore* store, const char* section, const char* key, const char* fallback,
                     char value[kSettingBufferSize]);
  // Replaces the value, or adds the key (and its section). False when it could not be stored.
  bool (*writeText)(SettingsStore* store, const char* section, const char* key, const char* value);
};

int32_t ReadIntegerSetting(SettingsStore* store, const char* section, const char* key, const char* fallback);
bool WriteIntegerSetting(SettingsStore* store, const char* section, const char* key, int32_t value);

// Copies at most 259 bytes of text into value and terminates it; returns the length.
size_t CopySettingText(const char* text, size_t length, char value[kSettingBufferSize]);
