#include "profile_snapshot_store.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "profile_text.h"

namespace {

// FNV-1a of the ASCII-lower-cased names, as ProfileNameEquals compares them.
uint64_t HashNames(const char* section, size_t sectionLength, const char* key, size_t keyLength) {
  uint64_t hash = 14695981039346656037ull;
  auto add = [&hash](const char* text, size_t length) {
    for (size_t i = 0; i < length; ++i) {
      const unsigned char c = static_cast<unsigned char>(text[i]);
      hash = (hash ^ (c >= 'A' && c <= 'Z' ? c + 32u : c)) * 1099511628211ull;
    }
  };
  add(section, sectionLength);
  hash = (hash ^ '\n') * 1099511628211ull;  // "ab"/"c" and "a"/"bc" hash apart
  add(key, keyLength);
  return hash;
}

}  // namespace

ProfileSnapshotStore::ProfileSnapshotStore() : SettingsStore{ReadText, WriteText} {}

bool ProfileSnapshotStore::Load(const char* path) {
  std::string text;
  if (LoadProfileFile(path, &text) == ProfileUnreadable) return false;
  LoadText(std::move(text));
  return true;
}

void ProfileSnapshotStore::LoadText(std::string text) {
  text_ = std::move(text);
  entries_.clear();
  // One entry at most per line, room made once.
  entries_.reserve(static_cast<size_t>(std::count(text_.begin(), text_.end(), '\n')) + 1);
  ProfileScanner scanner(text_.data(), text_.size());
  ProfileLine line;
  while (scanner.Next(&line)) {
    if (line.kind != ProfileLine::Key) continue;
    const ProfileEntry& e = line.entry;
    auto at = [this](const char* p) { return static_cast<size_t>(p - text_.data()); };
    entries_.push_back(Entry{HashNames(e.section, e.sectionLength, e.key, e.keyLength), at(e.section),
                             e.sectionLength, at(e.key), e.keyLength, at(e.value), e.valueLength});
  }
  // At most half full, so that a probe soon meets an empty slot. A repeated key stays out of the
  // table: the first of its names answers, as in the file store. Kept in, every repeat probed past
  // all those before it, and a file of one key repeated took the square of its lines to load.
  size_t size = 16;
  while (size < 2 * entries_.size()) size *= 2;
  slots_.assign(size, 0);
  for (size_t i = 0; i < entries_.size(); ++i) {
    const Entry& e = entries_[i];
    const size_t slot = Probe(e.hash, text_.data() + e.section, e.sectionLength, text_.data() + e.key, e.keyLength);
    if (slots_[slot] == 0) slots_[slot] = static_cast<uint32_t>(i + 1);
  }
}

size_t ProfileSnapshotStore::Probe(uint64_t hash, const char* section, size_t sectionLength, const char* key,
                                   size_t keyLength) const {
  const size_t mask = slots_.size() - 1;
  size_t slot = hash & mask;
  for (; slots_[slot] != 0; slot = (slot + 1) & mask) {
    const Entry& e = entries_[slots_[slot] - 1];
    if (e.hash == hash && ProfileNameEquals(text_.data() + e.section, e.sectionLength, section, sectionLength) &&
        ProfileNameEquals(text_.data() + e.key, e.keyLength, key, keyLength))
      break;
  }
  return slot;
}

const ProfileSnapshotStore::Entry* ProfileSnapshotStore::Find(const char* section, size_t sectionLength,
                                                              const char* key, size_t keyLength) const {
  if (slots_.empty()) return nullptr;
  const uint32_t index = slots_[Probe(HashNames(section, sectionLength, key, keyLength), section, sectionLength, key,
                                      keyLength)];
  return index != 0 ? &entries_[index - 1] : nullptr;
}

size_t ProfileSnapshotStore::ReadText(SettingsStore* store, const char* section, const char* key,
                                      const char* fallback, char value[kSettingBufferSize]) {
  const ProfileSnapshotStore* self = static_cast<ProfileSnapshotStore*>(store);
  if (const Entry* found = self->Find(section, std::strlen(section), key, std::strlen(key)))
    return CopySettingText(self->text_.data() + found->value, found->valueLength, value);
  const char* def = fallback ? fallback : "";
  return CopySettingText(def, std::strlen(def), value);
}

bool ProfileSnapshotStore::WriteText(SettingsStore*, const char*, const char*, const char*) { return false; }
