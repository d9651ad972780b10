// Shared pieces of the builder tests: settings held in a table, a scratch folder, and .bmp
// files made field by field.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "settings_store.h"

class TableSettings : public SettingsStore {
 public:
  TableSettings();
  void Set(const std::string& section, const std::string& key, const std::string& value);
  // The settings as a settings file holds them (sections and keys in lower case).
  std::string ProfileText() const;
  std::vector<std::string> reads;  // "Section/Key" in the order asked

 private:
  static size_t ReadText(SettingsStore* store, const char* section, const char* key, const char* fallback,
                         char value[kSettingBufferSize]);
  static bool WriteText(SettingsStore* store, const char* section, const char* key, const char* value);

  std::map<std::string, std::string> values_;
};

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  std::string Path(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadFileBytes(const std::string& path);

// A bottom-up BI_RGB file with a 40-byte info header, a colour table of the given number of
// entries and pixel bytes of the computed size filled with seed-derived values.
std::vector<uint8_t> MakeBmp(int32_t width, int32_t height, uint16_t bitCount, uint32_t clrUsed, uint32_t tableEntries,
                             uint8_t seed);
