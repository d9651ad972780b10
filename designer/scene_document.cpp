#include "scene_document.h"

#include <cstring>

#include "profile_text.h"
#include "settings_store.h"

namespace {

bool IsSeparator(char c, PathStyle style) { return c == '/' || (style == WindowsPaths && c == '\\'); }

char Folded(char c, PathStyle style) {
  return style == WindowsPaths && c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

size_t CharacterLength(const char* p, const PathRules& rules) {
  return rules.isLeadByte && p[1] && rules.isLeadByte(static_cast<unsigned char>(p[0])) ? 2 : 1;
}

// Whether a relative name steps out of its folder anywhere ("..", alone between separators).
bool ClimbsOut(const char* name, const PathRules& rules) {
  const char* part = name;
  for (const char* p = name;; p += CharacterLength(p, rules)) {
    if (*p == '\0' || IsSeparator(*p, rules.style)) {
      if (p - part == 2 && part[0] == '.' && part[1] == '.') return true;
      if (*p == '\0') return false;
      part = p + 1;
    }
  }
}

// Every key of the table, in its order: a whole key once, a character's keys for each letter,
// and a frame's for each letter and slot.
template <typename Visit>
void ForEachSettingKey(Visit visit) {
  for (int id = 0; id < kSettingCount; ++id) {
    const SettingDefinition& setting = Setting(static_cast<SettingId>(id));
    const int characters = setting.form == WholeKey ? 1 : kCharacterCount;
    const int slots = setting.form == CharacterSlotKey ? kFrameSlotCount : 1;
    for (int character = 0; character < characters; ++character)
      for (int slot = 0; slot < slots; ++slot) visit(static_cast<SettingId>(id), character, slot);
  }
}

}  // namespace

std::string PathInFolder(const char* folder, const char* path, const PathRules& rules) {
  const char* f = folder;
  const char* p = path;
  while (*f) {
    // Characters are counted in the path, which is whole; a folder that ends inside one is no folder.
    const size_t length = CharacterLength(p, rules);
    if (IsSeparator(*f, rules.style) && IsSeparator(*p, rules.style)) {
      ++f, ++p;
      continue;
    }
    if (length == 2 ? (f[0] != p[0] || f[1] != p[1]) : Folded(*f, rules.style) != Folded(*p, rules.style))
      return path;
    f += length, p += length;
  }
  // The folder must end where a name of it ends, not inside one ("C:\Scene" is no folder of
  // "C:\Scenery\a.bmp").
  const bool endedAtSeparator = f > folder && IsSeparator(f[-1], rules.style);
  if (!endedAtSeparator) {
    if (!IsSeparator(*p, rules.style)) return path;
    ++p;
  }
  if (*p == '\0' || ClimbsOut(p, rules)) return path;
  return p;
}

std::string FolderOfFile(const char* path, const PathRules& rules) {
  size_t end = 0;
  for (const char* p = path; *p; p += CharacterLength(p, rules))
    if (IsSeparator(*p, rules.style) || (rules.style == WindowsPaths && *p == ':')) end = static_cast<size_t>(p - path) + 1;
  return std::string(path, end);
}

std::string SceneTextOf(SettingsStore* from, const char* fromFolder, const char* toFolder, const PathRules& rules) {
  std::string text;
  ForEachSettingKey([&](SettingId id, int character, int slot) {
    const SettingDefinition& setting = Setting(id);
    char value[kSettingBufferSize];
    ReadSetting(from, id, value, character, slot);
    std::string kept = value;
    char resolved[kMaxInputPath];
    if (setting.kind == PathValue && value[0] &&
        ResolveInputPath(fromFolder, value, rules.style, resolved, sizeof resolved))
      kept = PathInFolder(toFolder, resolved, rules);
    text = SetProfileValue(text, setting.section, SettingKeyOf(id, character, slot).text, kept.c_str());
  });
  return text;
}

bool SameScene(SettingsStore* a, SettingsStore* b) {
  bool same = true;
  ForEachSettingKey([&](SettingId id, int character, int slot) {
    char left[kSettingBufferSize], right[kSettingBufferSize];
    if (!same) return;
    ReadSetting(a, id, left, character, slot);
    ReadSetting(b, id, right, character, slot);
    same = std::strcmp(left, right) == 0;
  });
  return same;
}

std::vector<MissingSceneFile> MissingSceneFiles(SettingsStore* scene, const char* folder, const PathRules& rules,
                                                bool (*exists)(const char* path)) {
  std::vector<MissingSceneFile> missing;
  ForEachSettingKey([&](SettingId id, int character, int slot) {
    if (id != kFramePath && id != kWallpaperPath && id != kSoundPath) return;
    char value[kSettingBufferSize];
    if (ReadSetting(scene, id, value, character, slot) == 0) return;
    char resolved[kMaxInputPath];
    if (!ResolveInputPath(folder, value, rules.style, resolved, sizeof resolved) || !exists(resolved))
      missing.push_back({id, character, slot, value});
  });
  return missing;
}
