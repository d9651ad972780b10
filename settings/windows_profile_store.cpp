#include "windows_profile_store.h"

#include <windows.h>

const char kProfileFileName[] = "MORVANE.INI";

size_t WindowsProfileStore::ReadText(const char* section, const char* key, const char* fallback,
                                     char value[kSettingBufferSize]) {
  DWORD length = GetPrivateProfileStringA(section, key, fallback ? fallback : "", value,
                                          static_cast<DWORD>(kSettingBufferSize), file_);
  value[length < kSettingBufferSize ? length : kMaxSettingLength] = '\0';
  return length < kSettingBufferSize ? length : kMaxSettingLength;
}

bool WindowsProfileStore::WriteText(const char* section, const char* key, const char* value) {
  return WritePrivateProfileStringA(section, key, value ? value : "", file_) != FALSE;
}
