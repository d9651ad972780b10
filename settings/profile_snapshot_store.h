// A read-only copy of a profile file taken once, for a tool that reads every setting of a
// scene in one go: the same answers as the file store, without reading the file per key.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "profile_file_store.h"
#include "settings_store.h"

// Its writeText always answers false: the snapshot never changes the file behind it.
class ProfileSnapshotStore : public SettingsStore {
 public:
  ProfileSnapshotStore();
  // Loads the file; false when it exists but cannot be read (a missing file is an empty store).
  bool Load(const char* path);
  // The same, from the text of a profile file already in memory (taken over, not copied).
  void LoadText(std::string text);

 private:
  static size_t ReadText(SettingsStore* store, const char* section, const char* key, const char* fallback,
                         char value[kSettingBufferSize]);
  static bool WriteText(SettingsStore* store, const char* section, const char* key, const char* value);
  // One key line, by its place in the text.
  struct Entry {
    uint64_t hash;
    size_t section, sectionLength, key, keyLength, value, valueLength;
  };
  const Entry* Find(const char* section, size_t sectionLength, const char* key, size_t keyLength) const;
  // The slot where a probe for these names (compared as the profile text compares them) stops:
  // the one holding the first entry of them, or the empty one where it would go.
  size_t Probe(uint64_t hash, const char* section, size_t sectionLength, const char* key, size_t keyLength) const;

  std::string text_;
  // The key lines in order, and an open-addressed table of their indexes + 1 hashed by the
  // names' lower-case form: a lookup, of which a build makes a few hundred, neither copies nor
  // allocates.
  std::vector<Entry> entries_;
  std::vector<uint32_t> slots_;
};
