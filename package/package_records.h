// The records of a scene package, the byte stream that follows the player image in a packaged
// saver: fixed order, one-byte ASCII tags, little-endian integers, no padding.
#pragma once
#include <cstddef>
#include <cstdint>

#include "settings_limits.h"

const uint32_t kPlayerImageSize = 49152;  // the player seeks to this offset in its own file
const uint32_t kMemoLineCount = 5;
// The builder reads each line through the settings' text buffer.
const uint32_t kMaxMemoLineLength = kMaxSettingLength;

const uint8_t kTimingTag = 'T';
const uint8_t kFrameTag = 'B';
const uint8_t kMotionTag = 'P';
const uint8_t kBackgroundTag = 'G';
const uint8_t kSoundTag = 'S';

const size_t kTimingRecordSize = 10;
const size_t kMotionRecordSize = 22;
const size_t kFramePrefixSize = 9;  // tag, header size, bits size
const size_t kMaxBackgroundRecordSize = 25;

struct TimingRecord {
  int32_t redrawPeriod;     // milliseconds of the paint timer
  int32_t frameMultiplier;  // the frame timer runs every redrawPeriod * frameMultiplier
  uint8_t transparent;      // non-zero: every frame gets a transparency mask
};

struct MotionRecord {
  int32_t speedX;
  int32_t speedY;
  int32_t speedDepth;
  int32_t frameStep;
  uint8_t bounceX;
  uint8_t bounceY;
  uint8_t bounceDepth;
  uint8_t pingPong;
  uint8_t visibleRate;
};

struct BackgroundRecord {
  int32_t noColour;  // non-zero: no colour fields are stored and nothing is filled
  int32_t red;
  int32_t green;
  int32_t blue;
  int32_t wallpaper;  // non-zero: a frame record with the wallpaper follows
  int32_t stretch;
};
