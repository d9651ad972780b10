// The settings store kept in a profile file by portable code, for the Linux tools and the
// native tests. Every read and write goes to the file itself, so that another process sees a
// change at its next read; a write replaces the file whole and never leaves half of one.
#pragma once
#include <string>

#include "settings_store.h"

// The store's fixed place on a system without a Windows folder: one per machine, whatever the
// current folder or the program's own folder.
extern const char kDefaultProfilePath[];

// Refuses to load a file larger than this: the whole scene takes a few kilobytes.
const size_t kMaxProfileFileSize = 16u << 20;

enum ProfileLoad { ProfileLoaded, ProfileMissing, ProfileUnreadable };

// The whole file as text; a missing file is an empty text.
ProfileLoad LoadProfileFile(const char* path, std::string* text);

struct ReplacementInterruption;

class ProfileFileStore : public SettingsStore {
 public:
  // interruption: the seam of a test that stops a write part way, as a crash would.
  explicit ProfileFileStore(const char* path, ReplacementInterruption* interruption = nullptr);

 private:
  static size_t ReadText(SettingsStore* store, const char* section, const char* key, const char* fallback,
                         char value[kSettingBufferSize]);
  static bool WriteText(SettingsStore* store, const char* section, const char* key, const char* value);

  std::string path_;
  ReplacementInterruption* interruption_;
};
