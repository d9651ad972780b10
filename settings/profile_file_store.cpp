#include "profile_file_store.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "file_replacement.h"
#include "profile_text.h"

const char kDefaultProfilePath[] = "/var/lib/morvane/MORVANE.INI";

ProfileLoad LoadProfileFile(const char* path, std::string* text) {
  text->clear();
  int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? ProfileMissing : ProfileUnreadable;
  char chunk[8192];
  ProfileLoad result = ProfileLoaded;
  for (;;) {
    ssize_t got = read(fd, chunk, sizeof(chunk));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 || text->size() + static_cast<size_t>(got) > kMaxProfileFileSize) {
      result = ProfileUnreadable;
      break;
    }
    if (got == 0) break;
    text->append(chunk, static_cast<size_t>(got));
  }
  close(fd);
  if (result != ProfileLoaded) text->clear();
  return result;
}

ProfileFileStore::ProfileFileStore(const char* path, ReplacementInterruption* interruption)
    : SettingsStore{ReadText, WriteText}, path_(path), interruption_(interruption) {}

size_t ProfileFileStore::ReadText(SettingsStore* store, const char* section, const char* key, const char* fallback,
                                  char value[kSettingBufferSize]) {
  ProfileFileStore* self = static_cast<ProfileFileStore*>(store);
  std::string text;
  const char* found = nullptr;
  size_t length = 0;
  // An unreadable file reads as an empty store, as the profile service treats it.
  if (LoadProfileFile(self->path_.c_str(), &text) == ProfileLoaded &&
      FindProfileValue(text.data(), text.size(), section, key, &found, &length))
    return CopySettingText(found, length, value);
  const char* def = fallback ? fallback : "";
  return CopySettingText(def, std::strlen(def), value);
}

bool ProfileFileStore::WriteText(SettingsStore* store, const char* section, const char* key, const char* value) {
  ProfileFileStore* self = static_cast<ProfileFileStore*>(store);
  if (!IsValidProfileName(section, ']') || !IsValidProfileName(key, '=')) return false;
  std::string text;
  // A file that exists but cannot be read whole is left alone rather than replaced by a
  // store that has lost everything else in it.
  if (LoadProfileFile(self->path_.c_str(), &text) == ProfileUnreadable) return false;
  std::string changed = SetProfileValue(text, section, key, value ? value : "");

  FileReplacement replacement;
  const char* problem = nullptr;
  if (!BeginFileReplacement(self->path_.c_str(), self->interruption_, &replacement, &problem)) return false;
  if (WriteFileReplacement(&replacement, changed.data(), changed.size()) != changed.size()) {
    AbandonFileReplacement(&replacement);
    return false;
  }
  return CommitFileReplacement(&replacement, &problem);
}
