// Plays a scene without a display, on the pixel-buffer surfaces and the headless host, along the
// same timeline as the X11 player, and hands the picture to a sink at fixed moments of the
// scene's time.
#pragma once
#include <cstdint>
#include <string>

struct SceneFile;

struct PictureSink {
  // The window's picture (0x00BBGGRR, top row first) as it stands at `milliseconds`.
  void (*take)(PictureSink* sink, const uint32_t* pixels, int32_t width, int32_t height,
               int64_t milliseconds);
};

struct RenderRun {
  int32_t width, height;
  uint32_t seed;
  int64_t milliseconds;  // how long the scene plays
  // Pictures per second handed to the sink; 0: one picture, the last; kFpsOfThePaints: as
  // many as the scene paints, at most 50.
  int32_t fps;
};

const int32_t kFpsOfThePaints = -1;
const int32_t kMaxPicturesPerSecond = 50;

struct RenderResult {
  int64_t paints;
  int64_t pictures;
  int32_t fps;  // the pictures per second handed to the sink
};

// False with a message when the scene could not start (its buffers could not be made).
bool RenderScene(SceneFile* file, const RenderRun& run, PictureSink* sink, RenderResult* result,
                 std::string* problem);
