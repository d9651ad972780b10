#include "profile_snapshot_store.h"

#include <cstring>
#include <utility>

#include "profile_text.h"

namespace {

// Into a buffer kept from call to call: a build looks up a few hundred keys.
void LookupKey(const char* section, size_t sectionLength, const char* key, size_t keyLength, std::string* out) {
  std::string& name = *out;
  name.assign(section, sectionLength);
  name += '\n';
  name.append(key, keyLength);
  for (char& c : name)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
}

}  // namespace

bool ProfileSnapshotStore::Load(const char* path) {
  std::string text;
  if (LoadProfileFile(path, &text) == ProfileUnreadable) return false;
  LoadText(std::move(text));
  return true;
}

void ProfileSnapshotStore::LoadText(std::string text) {
  values_.clear();
  text_ = std::move(text);
  ProfileScanner scanner(text_.data(), text_.size());
  ProfileLine line;
  while (scanner.Next(&line)) {
    if (line.kind != ProfileLine::Key) continue;
    const ProfileEntry& e = line.entry;
    LookupKey(e.section, e.sectionLength, e.key, e.keyLength, &lookup_);
    values_.emplace(lookup_, std::make_pair(static_cast<size_t>(e.value - text_.data()), e.valueLength));
  }
}

size_t ProfileSnapshotStore::ReadText(const char* section, const char* key, const char* fallback,
                                      char value[kSettingBufferSize]) {
  LookupKey(section, std::strlen(section), key, std::strlen(key), &lookup_);
  auto found = values_.find(lookup_);
  if (found != values_.end()) return CopySettingText(text_.data() + found->second.first, found->second.second, value);
  const char* def = fallback ? fallback : "";
  return CopySettingText(def, std::strlen(def), value);
}

bool ProfileSnapshotStore::WriteText(const char*, const char*, const char*) { return false; }
