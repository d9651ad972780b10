// The settings as a scene source: the settings store and the picture and wave files it names,
// asked in the same order as a package is read, so the engine's load sequence, masks, random
// calls, motion and composition stay the player's own. Pictures enter through the builder's
// picture intake and the player's record check, and relative names resolve against the
// builder's base folder, so that a scene played from its settings shows what the packaged saver
// built from them shows.
#pragma once
#include "package_records.h"
#include "picture_intake.h"
#include "scene_source.h"

class BuildFiles;
struct EngineHost;
class SettingsStore;

// How the looping sound is played from its file: PlaySoundA in the designer, a record in tests.
struct SceneSound {
  // False when it did not start; `host` is the scene's, for a sound played from memory.
  bool (*playFile)(SceneSound* sound, EngineHost* host, const char* path);
};

struct SettingsSceneSource {
  SceneSource base;
  SettingsStore* store;
  BuildFiles* files;       // how the named pictures are read
  const char* baseFolder;  // where relative names belong, as for the builder
  SceneSound* sound;
  PictureCodec* codecs;  // PNG, JPEG and GIF, as for the builder; null: drawn as nothing
  // Read once with the timing, before any picture: every decoded frame needs the look.
  TimingRecord timing;
  PictureLook spriteLook, wallpaperLook;
  int nextCharacter;     // the next letter to look at, 0 for "A"
  int currentCharacter;  // the letter whose frames and motion are being read
  int nextSlot;          // the current letter's next frame slot to open
  PictureFile file;      // the picture whose frames are being given, while fileOpen
  bool fileOpen;
};

// Call the source's close once loading is over (the engine does), so that an open picture is
// released.
void OpenSettingsSceneSource(SettingsSceneSource* source, SettingsStore* store, BuildFiles* files,
                             const char* baseFolder, SceneSound* sound, PictureCodec* codecs);
