#include "build_test_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "byte_order.h"
#include "settings_store.h"

namespace {
std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}
}  // namespace

TableSettings::TableSettings() : SettingsStore{ReadText, WriteText} {}

void TableSettings::Set(const std::string& section, const std::string& key, const std::string& value) {
  values_[Lower(section) + "/" + Lower(key)] = value;
}

size_t TableSettings::ReadText(SettingsStore* store, const char* section, const char* key, const char* fallback,
                               char value[kSettingBufferSize]) {
  TableSettings* self = static_cast<TableSettings*>(store);
  self->reads.push_back(std::string(section) + "/" + key);
  auto found = self->values_.find(Lower(section) + "/" + Lower(key));
  const std::string text = found != self->values_.end() ? found->second : std::string(fallback);
  return CopySettingText(text.data(), text.size(), value);
}

std::string TableSettings::ProfileText() const {
  std::string text, section;
  for (const auto& entry : values_) {
    const size_t slash = entry.first.find('/');
    if (entry.first.compare(0, slash, section) != 0 || section.size() != slash) {
      section = entry.first.substr(0, slash);
      text += "[" + section + "]\n";
    }
    text += entry.first.substr(slash + 1) + "=" + entry.second + "\n";
  }
  return text;
}

bool TableSettings::WriteText(SettingsStore* store, const char* section, const char* key, const char* value) {
  static_cast<TableSettings*>(store)->Set(section, key, value);
  return true;
}

ScratchFolder::ScratchFolder() {
  char pattern[] = "/tmp/morvane-test-XXXXXX";
  path_ = mkdtemp(pattern);
}

ScratchFolder::~ScratchFolder() {
  std::string command = "rm -rf '" + path_ + "'";
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", path_.c_str());
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  if (!bytes.empty()) {
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
  }
  std::fclose(f);
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  uint8_t chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof(chunk), f)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  std::fclose(f);
  return bytes;
}

std::vector<uint8_t> MakeBmp(int32_t width, int32_t height, uint16_t bitCount, uint32_t clrUsed, uint32_t tableEntries,
                             uint8_t seed) {
  uint32_t stride = (static_cast<uint32_t>(width) * bitCount + 31) / 32 * 4;
  uint32_t bitsSize = stride * static_cast<uint32_t>(height < 0 ? -height : height);
  uint32_t offset = 14 + 40 + 4 * tableEntries;
  std::vector<uint8_t> file(offset + bitsSize, 0);
  file[0] = 'B';
  file[1] = 'M';
  WriteU32LE(&file[2], static_cast<uint32_t>(file.size()));
  WriteU32LE(&file[10], offset);
  uint8_t* info = &file[14];
  WriteU32LE(info, 40);
  WriteU32LE(info + 4, static_cast<uint32_t>(width));
  WriteU32LE(info + 8, static_cast<uint32_t>(height));
  WriteU16LE(info + 12, 1);
  WriteU16LE(info + 14, bitCount);
  WriteU32LE(info + 20, bitsSize);
  WriteU32LE(info + 24, 2835);
  WriteU32LE(info + 28, 2835);
  WriteU32LE(info + 32, clrUsed);
  for (size_t i = 54; i < file.size(); ++i) file[i] = static_cast<uint8_t>(i * 31 + seed);
  return file;
}
