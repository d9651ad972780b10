// The scene package as a scene source, read in one forward pass through the package's record
// reader: the player's leniency as a layer on it. The package carries no redundancy, so only
// what would break memory safety is checked: tags are taken by position, a frame record that
// cannot be decoded becomes a frame without a picture and is read past by its stated sizes, and
// a package cut short plays what came before its end.
#pragma once
#include <cstdint>

#include "record_reader.h"
#include "scene_source.h"
#include "wallpaper_band.h"

struct PackageSource {
  SceneSource base;
  RecordReader reader;
  uint8_t tag;
  bool haveTag;
  uint8_t transparent;  // read with the timing record, answered once both timers run
  uint32_t bandBytes;   // what a wallpaper band holds at most (kWallpaperBandBytes)
  // The wallpaper record being read: its header (null outside it), the bytes of its pixel block
  // not yet read, and its bands.
  uint8_t* wallHeader;
  uint32_t wallHeaderSize;
  uint32_t wallBitsLeft;
  RecordBands wallBands;
};

// `stream` starts at the memo block, just after the player image.
void OpenPackageSource(PackageSource* source, ByteStream* stream);
