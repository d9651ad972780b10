// A scene file as the Linux programs take it: a packaged saver (the player image followed by the
// scene package) or a settings file in the designer's format, read once and then opened as a
// scene source as often as the engine loads it (a resized window loads it again).
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "byte_stream.h"
#include "library_picture_codec.h"
#include "library_sound_codec.h"
#include "mapped_saver.h"
#include "package_source.h"
#include "profile_snapshot_store.h"
#include "settings_scene_source.h"
#include "stdio_build_files.h"

enum SceneFileKind { PackagedSaver, SettingsFile };

struct SceneFile;

// The wave a settings file names, played from its file as a package's is from the saver's.
struct SceneFileSound {
  SceneSound base;
  SceneFile* owner;
};

// What the walk of a settings file left out, on standard error: once, at the first load.
struct SceneFileListener {
  WalkListener base;
  SceneFile* owner;
};

struct SceneFile {
  SceneFileKind kind;
  std::string path;
  // PackagedSaver: the file, and its scene package: everything after the player image and
  // before a signature.
  MappedSaver saver;
  const uint8_t* package = nullptr;
  size_t packageSize = 0;
  // SettingsFile: the settings and the folder their relative names belong to, as for the
  // builder (morvane-pack) reading the same file.
  ProfileSnapshotStore settings;
  std::string folder;
  StdioBuildFiles pictureFiles;
  // PNG, JPEG and GIF pictures, read as the Linux morvane-pack reads them.
  LibraryPictureCodec pictureCodec;
  LibrarySoundCodec soundCodec;
  // The wave a settings file names, mapped at the first load that plays it and kept while the
  // scene file lasts, as the saver is: the sound output reads the samples from the file, and a
  // reload that names the wave again finds the same file open, so that its sound goes on. Only
  // the header is read through the mapping.
  std::unique_ptr<MappedSaver> wave;
  std::string wavePath;
  // A sound the settings name that has to be decoded (MP3 and the like): its wave, decoded into
  // a file of its own by the first load that got to its end, kept and played the same way.
  std::unique_ptr<MappedSaver> decoded;
  std::string decodedPath;

  // The program named in front of each line about a file left out; null: nothing is said.
  const char* program = nullptr;
  int loads = 0;
  SceneFileListener listener;

  // The source of the current load.
  SaverFileStream stream;
  PackageSource packageSource;
  SettingsSceneSource settingsSource;
  SceneFileSound soundFile;
};

// Reads and recognises the file. False, with a one-line reason that names the file, when it
// cannot be read or is neither a packaged saver nor a settings file.
bool ReadSceneFile(const char* path, SceneFile* file, std::string* problem);

// What a package's strict reader says about it: empty when the package is whole, else where
// it stops being one and why. The engine still plays what comes before.
std::string PackageDamage(const SceneFile& file);

// A source for LoadScene, reading the scene from its beginning.
SceneSource* OpenSceneFileSource(SceneFile* file);

// Whether bytes [data, data + size) that a load handed out lie in one of the files the scene
// file keeps mapped (the packaged saver, the settings' wave), and where in it.
bool FindInSceneFile(const SceneFile& file, const uint8_t* data, size_t size, FileSpan* span);
