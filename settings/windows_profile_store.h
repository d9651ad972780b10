// The settings store of the Windows programs: the system's private-profile service. Addressed
// by the bare name, the file lives in the Windows folder, one per machine.
#pragma once
#include "settings_store.h"

extern const char kProfileFileName[];  // "MORVANE.INI"

class WindowsProfileStore : public SettingsStore {
 public:
  // A bare name means the Windows folder; a path names its file directly (used by the tools).
  explicit WindowsProfileStore(const char* file = kProfileFileName);

 private:
  static size_t ReadText(SettingsStore* store, const char* section, const char* key, const char* fallback,
                         char value[kSettingBufferSize]);
  static bool WriteText(SettingsStore* store, const char* section, const char* key, const char* value);

  const char* file_;
};
