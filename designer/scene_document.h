// Scene files as the designer keeps them: paths of pictures and sounds inside the scene file's
// folder relative to it, so the folder can be moved or zipped and still builds, and the scene
// compared with what was saved.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "input_path.h"
#include "module_name.h"
#include "scene_file_text.h"
#include "setting_table.h"

struct SettingsStore;

// How names are compared and split where the scene lives.
struct PathRules {
  PathStyle style;
  LeadBytePredicate isLeadByte;  // null: every byte is a character of its own
};

// The part of path after folder when path lies in folder or below it (letter case ignored for
// Windows paths; no ".." on the way), else path itself. folder may end with a separator or not.
std::string PathInFolder(const char* folder, const char* path, const PathRules& rules);

// The folder part of a file's path, with its trailing separator ("" for a bare name).
std::string FolderOfFile(const char* path, const PathRules& rules);

// The scene text of every setting of the table as `from` reads it (an absent key with its
// default), in the table's order: a scene file says everything, whatever the defaults become. Picture, sound and output paths are resolved against fromFolder and then written relative
// to toFolder when they lie in it, as they are otherwise.
std::string SceneTextOf(SettingsStore* from, const char* fromFolder, const char* toFolder, const PathRules& rules);

// Whether every setting of the table reads the same from both (absent keys read as their defaults).
bool SameScene(SettingsStore* a, SettingsStore* b);

// A file the scene names that is not there.
struct MissingSceneFile {
  SettingId setting;  // kFramePath, kWallpaperPath or kSoundPath
  int character, slot;
  std::string named;  // as the scene names it
};

// The pictures and the sound the scene names that do not exist, resolved against folder.
// exists: whether a file is there.
std::vector<MissingSceneFile> MissingSceneFiles(SettingsStore* scene, const char* folder, const PathRules& rules,
                                                bool (*exists)(const char* path));
