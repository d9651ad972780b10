// The scene package as a scene source, read in one forward pass. The package carries no
// redundancy, so only what would break memory safety is checked: a frame record that cannot
// be decoded becomes a frame without a picture, and a package cut short plays what came
// before its end.
#pragma once
#include <cstdint>

#include "scene_source.h"

struct ByteStream;

struct PackageSource {
  SceneSource base;
  ByteStream* stream;
  uint8_t tag;
  bool haveTag;
  bool ended;
};

// `stream` starts at the memo block, just after the player image.
void OpenPackageSource(PackageSource* source, ByteStream* stream);

// The record bytes that follow a "B" tag, as a surface: null for a record that cannot be had
// or decoded; the record is consumed by its stated sizes either way.
Surface* ReadFrameRecord(ByteStream* stream, const Surface* reference, bool* ended);
