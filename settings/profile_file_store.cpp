#include "profile_file_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

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

size_t ProfileFileStore::ReadText(const char* section, const char* key, const char* fallback,
                                  char value[kSettingBufferSize]) {
  std::string text;
  const char* found = nullptr;
  size_t length = 0;
  // An unreadable file reads as an empty store, as the profile service treats it.
  if (LoadProfileFile(path_.c_str(), &text) == ProfileLoaded &&
      FindProfileValue(text.data(), text.size(), section, key, &found, &length))
    return CopySettingText(found, length, value);
  const char* def = fallback ? fallback : "";
  return CopySettingText(def, std::strlen(def), value);
}

namespace {

bool WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t put = write(fd, text.data() + done, text.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<size_t>(put);
  }
  return true;
}

}  // namespace

bool ProfileFileStore::WriteText(const char* section, const char* key, const char* value) {
  if (!IsValidProfileName(section, ']') || !IsValidProfileName(key, '=')) return false;
  std::string text;
  // A file that exists but cannot be read whole is left alone rather than replaced by a
  // store that has lost everything else in it.
  if (LoadProfileFile(path_.c_str(), &text) == ProfileUnreadable) return false;
  std::string changed = SetProfileValue(text, section, key, value ? value : "");

  std::string temporary = path_ + ".XXXXXX";
  int fd = mkstemp(&temporary[0]);
  if (fd < 0) return false;
  struct stat original;
  bool ok = true;
  if (stat(path_.c_str(), &original) == 0) ok = fchmod(fd, original.st_mode & 07777) == 0;
  else ok = fchmod(fd, 0644) == 0;
  ok = ok && WriteAll(fd, changed) && fsync(fd) == 0;
  ok = (close(fd) == 0) && ok;
  ok = ok && rename(temporary.c_str(), path_.c_str()) == 0;
  if (!ok) unlink(temporary.c_str());
  return ok;
}
