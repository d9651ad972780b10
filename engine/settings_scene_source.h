// The designer's playback as a scene source: the settings store and the bitmap and wave files
// it names, asked in the same order as a package is read, so the engine's load sequence,
// masks, random calls, motion and composition stay the player's own.
#pragma once
#include "scene_source.h"

class SettingsStore;
struct Surface;

// How the playback reaches the named files: LoadImageA and PlaySoundA in the designer, plain
// file reads in tests.
struct SceneFiles {
  // The picture of a .bmp file at its natural size, or null when it cannot be loaded.
  Surface* (*loadPicture)(SceneFiles* files, const char* path, const Surface* reference);
  // Starts the looping sound; false when it did not start.
  bool (*playSound)(SceneFiles* files, const char* path);
};

struct SettingsSceneSource {
  SceneSource base;
  SettingsStore* store;
  SceneFiles* files;
  int nextCharacter;     // the next letter to look at, 0 for "A"
  int currentCharacter;  // the letter whose frames and motion are being read
};

void OpenSettingsSceneSource(SettingsSceneSource* source, SettingsStore* store, SceneFiles* files);
