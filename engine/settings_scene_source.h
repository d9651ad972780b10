// The settings as a scene source: the scene walk the builder writes its package from, handed to
// the engine in the order a package is read, so the engine's load sequence, masks, random calls,
// motion and composition stay the player's own. Every frame is the record the builder would
// write, drawn by the player's own record check, so a scene played from its settings shows what
// the packaged saver built from them shows, and leaves out what it leaves out.
#pragma once
#include "package_records.h"
#include "picture_intake.h"
#include "scene_source.h"
#include "scene_walk.h"
#include "wallpaper_band.h"

struct BuildFiles;
struct EngineHost;
struct SettingsStore;

// How a wave stored as it is plays from its file: PlaySoundA in the designer, a record in tests.
// A decoded sound plays from memory through the engine's host, as the packaged saver's does.
struct SceneSound {
  // False when it did not start; `host` is the scene's, for a sound played from memory.
  bool (*playFile)(SceneSound* sound, EngineHost* host, const char* path);
  // A sound that has to be decoded (MP3 and the like) goes, where these are set, into a wave
  // the sound keeps in a file of its own rather than into the scene's memory, and is decoded
  // between paints where the first picture is due before it is whole. Null: into memory, at once.
  // A sink for the wave decoded from `path`; null when none can be had (into memory then).
  WaveSink* (*openDecoded)(SceneSound* sound, const char* path);
  // The sink's wave decoded from `path`, whole and `size` bytes: played (false when it did not
  // start); size 0: not whole, dropped (`host` may be null then). The sink may hold bytes past
  // `size`.
  bool (*endDecoded)(SceneSound* sound, EngineHost* host, WaveSink* sink, const char* path, size_t size);
  // Plays the wave an earlier load decoded from `path`, where the sound still keeps it; false
  // when it does not.
  bool (*playDecodedAgain)(SceneSound* sound, EngineHost* host, const char* path);
};

struct SettingsSceneSource {
  SceneSource base;
  SceneSound* sound;
  SceneWalkSources sources;
  TimingRecord timing;
  // The walk of the current load, made by readTiming and ended by close.
  alignas(SceneWalk) unsigned char walkSpace[sizeof(SceneWalk)];
  SceneWalk* walk;
  // The wallpaper being handed out in bands: its record, its header as the player reads it, and
  // what a band holds at most (kWallpaperBandBytes).
  BitmapRecord wallpaper;  // its bits null while the rows come from the walk (wallByRows)
  bool wallByRows;
  uint8_t wallInfo[kMaxPackedInfoSize];
  uint32_t wallInfoSize;
  RecordBands wallBands;
  // The sound being decoded into `soundSink`, between paints; its file while the walk reads it.
  WalkSoundFile soundFile;
  WaveSink* soundSink;
  uint32_t bandBytes;
};

// Call the source's close once loading is over (the engine does), so that an open picture is
// released. listener hears what the walk left out and noted; it may be null. sounds decodes
// what the players cannot play as it is stored; null leaves such sounds out.
void OpenSettingsSceneSource(SettingsSceneSource* source, SettingsStore* store, BuildFiles* files,
                             const char* baseFolder, SceneSound* sound, PictureCodec* codecs,
                             WalkListener* listener, SoundCodec* sounds = nullptr);
