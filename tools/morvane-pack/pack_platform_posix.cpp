#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "library_picture_codec.h"
#include "pack_platform.h"
#include "profile_file_store.h"
#include "profile_snapshot_store.h"

const char kPathSeparator = '/';

namespace {

bool DirectoryPart(const char* path, char* out, size_t size) {
  const char* slash = std::strrchr(path, '/');
  if (!slash) {
    if (size < 2) return false;
    std::strcpy(out, ".");
    return true;
  }
  size_t length = slash == path ? 1 : static_cast<size_t>(slash - path);
  if (length + 1 > size) return false;
  std::memcpy(out, path, length);
  out[length] = '\0';
  return true;
}

}  // namespace

bool ToolFolder(char* out, size_t size) {
  char self[kMaxToolPath];
  ssize_t length = readlink("/proc/self/exe", self, sizeof(self) - 1);
  if (length <= 0) return false;
  self[length] = '\0';
  return DirectoryPart(self, out, size);
}

bool DefaultPlayerImage(char* out, size_t size) {
  char folder[kMaxToolPath];
  if (!ToolFolder(folder, sizeof folder)) return false;
  int length = std::snprintf(out, size, "%s/player.scr", folder);
  if (length < 0 || static_cast<size_t>(length) >= size) return false;
  if (access(out, F_OK) == 0) return true;
  length = std::snprintf(out, size, "%s/../share/morvane/player.scr", folder);
  return length >= 0 && static_cast<size_t>(length) < size;
}

bool SettingsFolder(const char* settingsFile, bool isDefault, char* out, size_t size) {
  return DirectoryPart(isDefault ? kDefaultProfilePath : settingsFile, out, size);
}

SettingsStore* OpenSettings(const char* path, const char** problem) {
  // The whole scene is read at once, so one look at the file serves every key.
  static ProfileSnapshotStore store;
  const char* file = path ? path : kDefaultProfilePath;
  if (access(file, F_OK) != 0)
    std::fprintf(stderr, "morvane-pack: note: settings %s: no such file; every setting takes its default\n", file);
  if (!store.Load(file)) {
    *problem = "settings file exists but cannot be read";
    return nullptr;
  }
  return &store;
}

PictureCodec* SystemPictureCodec() {
  static LibraryPictureCodec decoder;
  OpenLibraryPictureCodec(&decoder);
  return &decoder.base;
}
