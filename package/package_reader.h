// The strict reading of a scene package held in memory, for the tools, tests and fuzzers: the
// package's record reader with every tag, size and agreement checked. Nothing is allocated or
// copied: the views point into the caller's bytes. Every package the writer produces is
// accepted; anything else stops at the first record or field that does not fit, with its offset
// and the reason.
#pragma once
#include <cstddef>
#include <cstdint>

#include "package_records.h"

struct PackageError {
  size_t offset;       // from the start of the scene package
  const char* reason;  // static text
};

struct MemoLineView {
  const uint8_t* text;  // not terminated
  uint32_t length;
};

// A frame record's packed BITMAPINFO (40-byte header and colour table) and its pixel bits.
struct FrameRecordView {
  const uint8_t* header;
  uint32_t headerSize;
  const uint8_t* bits;
  uint32_t bitsSize;
};

struct CharacterGroupView {
  uint32_t frameCount;  // 0 when the builder could write none of the character's frames
  FrameRecordView frames[kFrameSlotCount];
  MotionRecord motion;
};

struct ScenePackageView {
  MemoLineView memo[kMemoLineCount];
  TimingRecord timing;
  uint32_t characterCount;
  CharacterGroupView characters[kCharacterCount];
  BackgroundRecord background;  // colour fields are 0 when noColour is set
  FrameRecordView wallpaper;    // all zero unless background.wallpaper is non-zero
  const uint8_t* sound;         // the whole wave file; null when soundSize is 0
  uint32_t soundSize;
};

// Reads a whole package: data points at its first byte (file offset 49152 in a packaged saver).
bool ReadScenePackage(const uint8_t* data, size_t size, ScenePackageView* out, PackageError* error);

// Reads only the memo block at the front; *end gets the offset of the timing record when not
// null.
bool ReadMemoBlock(const uint8_t* data, size_t size, MemoLineView lines[kMemoLineCount], size_t* end,
                   PackageError* error);
