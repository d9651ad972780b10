#include "windows_profile_store.h"

#include <windows.h>

const char kProfileFileName[] = "MORVANE.INI";

WindowsProfileStore::WindowsProfileStore(const char* file) : SettingsStore{ReadText, WriteText}, file_(file) {}

size_t WindowsProfileStore::ReadText(SettingsStore* store, const char* section, const char* key, const char* fallback,
                                     char value[kSettingBufferSize]) {
  DWORD length = GetPrivateProfileStringA(section, key, fallback ? fallback : "", value,
                                          static_cast<DWORD>(kSettingBufferSize),
                                          static_cast<WindowsProfileStore*>(store)->file_);
  value[length < kSettingBufferSize ? length : kMaxSettingLength] = '\0';
  return length < kSettingBufferSize ? length : kMaxSettingLength;
}

bool WindowsProfileStore::WriteText(SettingsStore* store, const char* section, const char* key, const char* value) {
  const char* file = static_cast<WindowsProfileStore*>(store)->file_;
  return WritePrivateProfileStringA(section, key, value ? value : "", file) != FALSE;
}
