// Scene files: a scene kept in a file of its own (".morvane"), in the settings text with the
// same sections and keys as MORVANE.INI, so that the builder, morvane-pack and the players read
// it as they read the store. Paths of pictures and sounds inside the scene file's folder are kept
// relative to it, so the folder can be moved or zipped and still builds.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "input_path.h"
#include "module_name.h"
#include "setting_table.h"

struct SettingsStore;

extern const char kSceneFileExtension[];  // ".morvane"

// A scene takes a few kilobytes; anything far larger is not one.
const size_t kMaxSceneFileSize = 1u << 20;

enum SceneFileProblem {
  SceneFileFine,
  SceneFileNotRead,        // missing or unreadable
  SceneFileEmpty,          // no bytes, or nothing but blank lines and comments
  SceneFileTooLarge,       // above kMaxSceneFileSize
  SceneFileNotText,        // zero bytes or other control characters: a binary file
  SceneFileForeignSection  // a section that no setting belongs to
};

// What keeps the text from being a scene file; detail gets the foreign section's name.
SceneFileProblem CheckSceneText(const char* text, size_t size, std::string* detail);

// Reads the whole file (in the system's code page on Windows) and checks it.
SceneFileProblem ReadSceneFileText(const char* path, std::string* text, std::string* detail);

// Writes the text as the file's new version; the old file stays whole when anything fails.
// problem (may be null) gets the reason.
bool WriteSceneFileText(const char* path, const std::string& text, const char** problem);

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
