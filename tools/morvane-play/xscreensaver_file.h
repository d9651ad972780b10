// morvane-play in a user's own XScreenSaver list: adds its program line to ~/.xscreensaver (made
// from the system's list when absent) or takes it out again, with the old file kept beside it.
// A file that cannot be read, written or understood is left exactly as it was.
#pragma once
#include <string>

struct XScreenSaverFiles {
  std::string settings;     // ~/.xscreensaver
  std::string appDefaults;  // the system's defaults, whose programs list a new file starts from
};

// The user's files: $HOME (else the password entry's home) and Debian's app-defaults file.
XScreenSaverFiles UserXScreenSaverFiles();

// The name of the copy of the settings file as it was before the last change.
std::string BackupName(const std::string& settings);

// True when the file was changed or needed no change, with what was done in *message; false
// with why nothing was changed.
bool AddToXScreenSaver(const XScreenSaverFiles& files, const std::string& name, const std::string& command,
                       std::string* message);
bool RemoveFromXScreenSaver(const XScreenSaverFiles& files, const std::string& executable, std::string* message);
