// A scene file (".morvane"): the settings text with the same sections and keys as MORVANE.INI,
// in a file of the user's own. What is one and what is not, for the designer that opens it and
// the tools that build from it alike.
#pragma once
#include <cstddef>
#include <string>

extern const char kSceneFileExtension[];  // ".morvane"

// A scene takes a few kilobytes; anything far larger is not one.
const size_t kMaxSceneFileSize = 1u << 20;

enum SceneFileProblem {
  SceneFileFine,
  SceneFileNotRead,        // missing or unreadable
  SceneFileEmpty,          // no bytes, or nothing but blank lines, comments and empty sections
  SceneFileTooLarge,       // above kMaxSceneFileSize
  SceneFileNotText,        // zero bytes or other control characters: a binary file
  SceneFileForeignSection  // a section that no setting belongs to
};

// Whether the name ends in ".morvane", in any letter case.
bool IsSceneFileName(const char* path);

// What keeps the text from being a scene file; detail gets the foreign section's name.
SceneFileProblem CheckSceneText(const char* text, size_t size, std::string* detail);

// Reads the whole file (its name in the system's code page on Windows) and checks it; a large
// file is refused without being read whole.
SceneFileProblem ReadSceneFileText(const char* path, std::string* text, std::string* detail);

// The problem in the tools' words: "it is empty", "it is not text".
const char* SceneFileProblemText(SceneFileProblem problem);

// Writes the text as the file's new version; the old file stays whole when anything fails.
// problem (may be null) gets the reason.
bool WriteSceneFileText(const char* path, const std::string& text, const char** problem);
