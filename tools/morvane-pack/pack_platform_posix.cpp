#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "library_picture_codec.h"
#include "library_sound_codec.h"
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

SoundCodec* SystemSoundCodec() {
  static LibrarySoundCodec decoder;
  OpenLibrarySoundCodec(&decoder);
  return &decoder.base;
}

bool FindProgram(const char* name, char* out, size_t size) {
  const char* path = std::getenv("PATH");
  if (!path) return false;
  for (const char* start = path;; ++start) {
    const char* end = std::strchr(start, ':');
    size_t length = end ? static_cast<size_t>(end - start) : std::strlen(start);
    // An empty entry is the current folder.
    int written = std::snprintf(out, size, "%.*s/%s", static_cast<int>(length), length ? start : ".", name);
    if (written > 0 && static_cast<size_t>(written) < size && access(out, X_OK) == 0) return true;
    if (!end) return false;
    start = end;
  }
}

int RunProgram(const char* const* argv, const char* errorLog) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, errorLog, O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t child = 0;
  int started = posix_spawn(&child, argv[0], &actions, nullptr, const_cast<char* const*>(argv), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) return -1;
  int status = 0;
  while (waitpid(child, &status, 0) < 0)
    if (errno != EINTR) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

unsigned long ProcessNumber() { return static_cast<unsigned long>(getpid()); }
