#include "profile_snapshot_store.h"

#include <cstring>

#include "profile_text.h"

namespace {

std::string LookupKey(const char* section, size_t sectionLength, const char* key, size_t keyLength) {
  std::string name;
  name.reserve(sectionLength + keyLength + 1);
  for (size_t i = 0; i < sectionLength; ++i)
    name += (section[i] >= 'A' && section[i] <= 'Z') ? static_cast<char>(section[i] + 32) : section[i];
  name += '\n';
  for (size_t i = 0; i < keyLength; ++i)
    name += (key[i] >= 'A' && key[i] <= 'Z') ? static_cast<char>(key[i] + 32) : key[i];
  return name;
}

}  // namespace

bool ProfileSnapshotStore::Load(const char* path) {
  values_.clear();
  if (LoadProfileFile(path, &text_) == ProfileUnreadable) return false;
  ProfileScanner scanner(text_.data(), text_.size());
  ProfileLine line;
  while (scanner.Next(&line)) {
    if (line.kind != ProfileLine::Key) continue;
    const ProfileEntry& e = line.entry;
    values_.emplace(LookupKey(e.section, e.sectionLength, e.key, e.keyLength),
                    std::make_pair(static_cast<size_t>(e.value - text_.data()), e.valueLength));
  }
  return true;
}

size_t ProfileSnapshotStore::ReadText(const char* section, const char* key, const char* fallback,
                                      char value[kSettingBufferSize]) {
  auto found = values_.find(LookupKey(section, std::strlen(section), key, std::strlen(key)));
  if (found != values_.end()) return CopySettingText(text_.data() + found->second.first, found->second.second, value);
  const char* def = fallback ? fallback : "";
  return CopySettingText(def, std::strlen(def), value);
}

bool ProfileSnapshotStore::WriteText(const char*, const char*, const char*) { return false; }
