// What the fuzz targets of the builder's inputs share: the files a scene may name held in memory
// (the picture "x.bmp" with the fuzzer's bytes); for the two settings targets, the settings text
// and that picture taken from the fuzzer's input (the settings text, a zero byte, the bytes of
// "x.bmp"), and the scene played from the settings (the designer's playback) or from the package
// built of them (the packaged saver).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "build_files.h"
#include "profile_snapshot_store.h"

struct NamedFile {
  const char* name;
  const uint8_t* data;
  size_t size;
};

// The files below the base folder "/f": pictures "a.bmp" (24 bits) and "b.bmp" (RLE8), the wave
// "s.wav", and "x.bmp" with the fuzzer's bytes, a picture of any format the intake takes; and one output held in memory, without the player
// image in front of its package.
class MemoryFiles : public BuildFiles {
 public:
  MemoryFiles(const uint8_t* picture, size_t size);

  // The package, in a block kept from run to run: it is written a few bytes at a time, and
  // growing a fresh block for each run costs more than the build itself.
  std::vector<uint8_t>& package;
  size_t written = 0;

 private:
  // The files open at the moment, in slots rather than allocated: a run opens several.
  struct OpenFile {
    const NamedFile* file;
    size_t position;
  };
  static Handle OpenForReading(BuildFiles* files, const char* path);
  static Handle CreateReplacement(BuildFiles* files, const char* path);
  static bool FinishReplacement(BuildFiles* files, Handle file, bool keep);
  static bool SizeOf(BuildFiles* files, Handle file, uint64_t* size);
  static bool Seek(BuildFiles* files, Handle file, uint64_t offset);
  static size_t Read(BuildFiles* files, Handle file, void* data, size_t size);
  static size_t Write(BuildFiles* files, Handle file, const void* data, size_t size);
  static bool Close(BuildFiles* files, Handle file);
  static const char* LastError(BuildFiles* files);
  static int LastErrorNumber(BuildFiles* files);

  NamedFile files_[4];
  OpenFile open_[4] = {};
};

// The settings and the picture of one input.
struct SettingsInput {
  SettingsInput(const uint8_t* data, size_t size);
  ProfileSnapshotStore store;
  const uint8_t* picture;
  size_t pictureSize;
};

const size_t kPaints = 2;
const size_t kScreenPixels = 32 * 24;
struct Pictures {
  uint32_t pixels[kPaints][kScreenPixels];
};

// The designer's playback: the scene loads, paints twice and is released whole (else abort).
void PlaySettings(SettingsInput* input, MemoryFiles* files, Pictures* pictures);

// The builder's package of the settings, written whatever it left out, read by the strict reader
// and played by the player's loading (else abort).
void PlayPackage(SettingsInput* input, MemoryFiles* files, Pictures* pictures);
