#include "xscreensaver_file.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "file_replacement.h"
#include "xscreensaver_list.h"

namespace {

enum FileState { FileAbsent, FileRead, FileRefused };

FileState ReadWhole(const std::string& path, std::string* text, std::string* problem) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT) return FileAbsent;
    *problem = path + ": " + std::strerror(errno);
    return FileRefused;
  }
  if (!S_ISREG(info.st_mode)) {
    *problem = path + ": not a regular file";
    return FileRefused;
  }
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    *problem = path + ": cannot be read: " + std::strerror(errno);
    return FileRefused;
  }
  text->clear();
  char buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text->append(buffer, got);
  const bool failed = std::ferror(file);
  std::fclose(file);
  if (failed) {
    *problem = path + ": cannot be read";
    return FileRefused;
  }
  return FileRead;
}

// Root may write any file, but a file without write permission is one its owner keeps as it is.
bool ReadOnly(const std::string& path) {
  struct stat info;
  return access(path.c_str(), W_OK) != 0 || (stat(path.c_str(), &info) == 0 && !(info.st_mode & S_IWUSR));
}

bool Replace(const std::string& path, const std::string& text, std::string* problem) {
  FileReplacement replacement = {};
  const char* why = nullptr;
  if (!BeginFileReplacement(path.c_str(), nullptr, &replacement, &why)) {
    *problem = path + ": " + why;
    return false;
  }
  if (WriteFileReplacement(&replacement, text.data(), text.size()) != text.size()) {
    AbandonFileReplacement(&replacement);
    *problem = path + ": cannot be written";
    return false;
  }
  if (!CommitFileReplacement(&replacement, &why)) {
    *problem = path + ": " + why;
    return false;
  }
  return true;
}

// Reads the settings file for a change: false with the reason when it must stay as it is.
bool ReadForChange(const XScreenSaverFiles& files, std::string* text, bool* absent, std::string* problem) {
  FileState state = ReadWhole(files.settings, text, problem);
  if (state == FileRefused) return false;
  *absent = state == FileAbsent;
  if (!*absent && ReadOnly(files.settings)) {
    *problem = files.settings + ": the file is read-only";
    return false;
  }
  return true;
}

// The old file first, so that a failure after it still leaves it whole under one of two names.
bool Write(const XScreenSaverFiles& files, const std::string& old, bool absent, const std::string& text,
           std::string* problem) {
  if (!absent && !Replace(BackupName(files.settings), old, problem)) return false;
  return Replace(files.settings, text, problem);
}

}  // namespace

XScreenSaverFiles UserXScreenSaverFiles() {
  std::string home;
  const char* fromEnvironment = std::getenv("HOME");
  if (fromEnvironment && *fromEnvironment) {
    home = fromEnvironment;
  } else if (const passwd* entry = getpwuid(getuid())) {
    home = entry->pw_dir;
  }
  if (!home.empty() && home.back() == '/') home.pop_back();
  return XScreenSaverFiles{home + "/.xscreensaver", MORVANE_XSCREENSAVER_APP_DEFAULTS};
}

std::string BackupName(const std::string& settings) {
  return settings + ".morvane-backup";
}

bool AddToXScreenSaver(const XScreenSaverFiles& files, const std::string& name, const std::string& command,
                       std::string* message) {
  std::string text, problem;
  bool absent = false;
  if (!ReadForChange(files, &text, &absent, message)) return false;
  std::string defaults, defaultPrograms;
  if (ReadWhole(files.appDefaults, &defaults, &problem) != FileRead ||
      !DefaultProgramsEntry(defaults, &defaultPrograms))
    defaultPrograms.clear();
  std::string changed;
  switch (AddProgram(text, defaultPrograms, name, command, &changed, &problem)) {
    case ListUnchanged:
      *message = files.settings + " lists it already";
      return true;
    case ListRefused:
      *message = files.settings + ": " + problem;
      if (problem.find("default programs") != std::string::npos) *message += " from " + files.appDefaults;
      return false;
    case ListChanged:
      break;
  }
  if (absent) {
    changed = "# XScreenSaver settings: the system's programs list and morvane-play, written by\n"
              "# morvane-play --add-to-xscreensaver. XScreenSaver's settings tool keeps what is here.\n\n" +
              changed;
  }
  if (!Write(files, text, absent, changed, message)) return false;
  *message = absent ? "made " + files.settings + " from the system's programs list, with morvane-play"
                    : "added to " + files.settings + " (the file as it was: " + BackupName(files.settings) + ")";
  return true;
}

bool RemoveFromXScreenSaver(const XScreenSaverFiles& files, const std::string& executable, std::string* message) {
  std::string text, problem, changed;
  bool absent = false;
  if (!ReadForChange(files, &text, &absent, message)) return false;
  if (absent) {
    *message = "there is no " + files.settings + ": nothing to take out";
    return true;
  }
  int removed = 0;
  switch (RemovePrograms(text, executable, &changed, &removed, &problem)) {
    case ListUnchanged:
      *message = files.settings + " lists no " + executable + " program: nothing to take out";
      return true;
    case ListRefused:
      *message = files.settings + ": " + problem;
      return false;
    case ListChanged:
      break;
  }
  if (!Write(files, text, false, changed, message)) return false;
  *message = "took " + std::to_string(removed) + (removed == 1 ? " line" : " lines") + " out of " + files.settings +
             " (the file as it was: " + BackupName(files.settings) + ")";
  return true;
}
