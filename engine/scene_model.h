// The runtime scene: a value of fixed size that its player owns (one per saver window), zero
// before LoadScene fills it, changed only by motion, frame animation and the scaled sizes, and
// emptied by ReleaseScene. Everything a scene needs is in it or reached through it, so scenes
// in one process never meet.
#pragma once
#include <cstdint>

#include "settings_limits.h"

struct EngineHost;
struct SceneSource;
struct Surface;

// More monitors than this still get the background colour; the wallpaper goes on the first ones.
const int kMonitorSlots = 16;

// A saver window lower than this is the control panel's preview.
const int32_t kPreviewHeightLimit = 128;
const uint32_t kPaintTimerId = 1;
const uint32_t kFrameTimerId = 2;

struct FrameSurface {
  Surface* sprite;  // null for a damaged record: such a frame draws nothing
  int32_t width, height;
  int32_t scaledWidth, scaledHeight;
  uint8_t hasMask;
  Surface* mask;
};

struct CharacterState {
  FrameSurface frames[kFrameSlotCount];
  int8_t frameCount;
  int8_t currentFrame;
  int32_t frameStep;
  uint8_t pingPong;
  int32_t speedX, speedY, speedDepth;
  uint8_t bounceX, bounceY, bounceDepth;
  int8_t visibleRate;
  int8_t appearanceRoll;
  int32_t x, y;
  int32_t depth;
  int32_t minX, maxX;
  int32_t minY, maxY;
  int32_t minDepth, maxDepth;
};

struct SceneArea {
  int32_t left, top, width, height;
};

// A wallpaper whose bands were not all drawn when the first picture was due (the host said so):
// the rest come between paints, and until the last the scene shows the background's colour.
struct PendingWallpaper {
  SceneSource* source;  // open until the last band; null when nothing is to come
  int32_t width, height;
  uint8_t stretch;
  int32_t monitorCount;
  SceneArea monitors[kMonitorSlots];
};

struct SceneModel {
  // The window around the scene, from LoadScene to ReleaseScene.
  EngineHost* host;
  // The scene's own random generator (random.h).
  uint32_t randomState;
  int32_t screenWidth, screenHeight;
  int32_t windowWidth, windowHeight;
  uint8_t transparentSprites;
  int8_t characterCount;
  CharacterState characters[kCharacterCount];
  Surface* backgroundBuffer;
  Surface* workBuffer;
  Surface* referenceContext;
  uint32_t paintTimer, frameTimer;
  uint8_t soundPlaying;
  int32_t soundSize;
  uint8_t* soundData;
  // The sound lies in place in the package's own file, and is not the scene's to free.
  uint8_t soundInPlace;

  // Where the last picture drew characters. The background never changes after loading, so
  // restoring just these areas leaves the work buffer as a full copy would, for a fraction of
  // the memory traffic; the first picture after loading copies everything.
  uint8_t workComposed;
  int8_t drawnCount;
  SceneArea drawn[kCharacterCount];

  // What the last composition changed in the work buffer: the areas it restored from the
  // background (the previous picture's characters) and `drawn`. Presenting just these keeps
  // the window equal to the work buffer at a cost that follows the characters, not the screen;
  // the first picture after loading is presented whole.
  int8_t restoredCount;
  SceneArea restored[kCharacterCount];
  uint8_t windowPresented;

  // The background is one colour over the whole picture (no wallpaper drawn, no desktop left
  // showing): an area is then restored by a fill, which reads nothing, instead of a copy from
  // the background, whose rows the paint would otherwise fetch from memory.
  uint8_t backgroundPlain;
  uint32_t backgroundColour;

  // While its source is set, the background buffer may hold part of the wallpaper, which shows
  // once it is whole; the colour shows until then (backgroundPlain).
  PendingWallpaper wallpaper;
  // The source of a sound still being decoded, open until the sound starts or is left out.
  SceneSource* soundSource;
};
