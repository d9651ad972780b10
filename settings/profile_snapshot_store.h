// A read-only copy of a profile file taken once, for a tool that reads every setting of a
// scene in one go: the same answers as the file store, without reading the file per key.
#pragma once
#include <string>
#include <unordered_map>

#include "profile_file_store.h"
#include "settings_store.h"

class ProfileSnapshotStore : public SettingsStore {
 public:
  // Loads the file; false when it exists but cannot be read (a missing file is an empty store).
  bool Load(const char* path);
  // The same, from the text of a profile file already in memory (taken over, not copied).
  void LoadText(std::string text);
  size_t ReadText(const char* section, const char* key, const char* fallback, char value[kSettingBufferSize]) override;
  // Always false: the snapshot never changes the file behind it.
  bool WriteText(const char* section, const char* key, const char* value) override;

 private:
  std::string text_;
  // Lower-cased "section\nkey" to the first matching value, as the file store finds it.
  std::unordered_map<std::string, std::pair<size_t, size_t>> values_;
  std::string lookup_;
};
