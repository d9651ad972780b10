#include <windows.h>

#include <cstdio>
#include <cstring>

#include "pack_platform.h"
#include "wic_picture_codec.h"
#include "windows_profile_store.h"

const char kPathSeparator = '\\';

namespace {

bool DirectoryPart(const char* path, char* out, size_t size) {
  const char* cut = nullptr;
  for (const char* p = path; *p; p = CharNextA(p))
    if (*p == '\\' || *p == '/' || *p == ':') cut = p;
  if (!cut) {
    if (size < 2) return false;
    std::strcpy(out, ".");
    return true;
  }
  size_t length = static_cast<size_t>(cut - path) + (*cut == ':' ? 1 : 0);
  if (length == 0 || (length == 2 && path[1] == ':')) length = static_cast<size_t>(cut - path) + 1;
  if (length + 1 > size) return false;
  std::memcpy(out, path, length);
  out[length] = '\0';
  return true;
}

}  // namespace

bool ToolFolder(char* out, size_t size) {
  char self[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  return DirectoryPart(self, out, size);
}

bool DefaultPlayerImage(char* out, size_t size) {
  char folder[kMaxToolPath];
  if (!ToolFolder(folder, sizeof folder)) return false;
  int length = std::snprintf(out, size, "%s\\player.scr", folder);
  return length >= 0 && static_cast<size_t>(length) < size;
}

bool SettingsFolder(const char* settingsFile, bool isDefault, char* out, size_t size) {
  if (isDefault) {
    UINT length = GetWindowsDirectoryA(out, static_cast<UINT>(size));
    return length > 0 && length < size;
  }
  return DirectoryPart(settingsFile, out, size);
}

SettingsStore* OpenSettings(const char* path, const char** problem) {
  // The profile service takes a bare name as one in the Windows folder; a file named on the
  // command line is meant relative to the current folder, so it is made absolute first.
  static char fullPath[MAX_PATH];
  static WindowsProfileStore defaultStore;
  static WindowsProfileStore namedStore(fullPath);
  if (!path) return &defaultStore;
  DWORD length = GetFullPathNameA(path, MAX_PATH, fullPath, nullptr);
  if (length == 0 || length >= MAX_PATH) {
    *problem = "settings file name too long";
    return nullptr;
  }
  return &namedStore;
}

PictureCodec* SystemPictureCodec() {
  static WicPictureCodec decoder;
  OpenWicPictureCodec(&decoder);
  return &decoder.base;
}
