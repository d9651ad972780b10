// The command line of morvane-render:
//   morvane-render SCENE --size WxH [--seconds S] [--fps F] [--seed N] OUT
#pragma once
#include <cstdint>
#include <string>

enum RenderFormat { RenderPng, RenderGif };

struct RenderOptions {
  std::string scene, output;
  RenderFormat format = RenderPng;
  int32_t width = 0, height = 0;
  int64_t milliseconds = 5000;  // of the scene's own time
  int32_t fps = 0;              // pictures per second of a GIF; 0: one per paint, at most 50
  bool seeded = false;
  uint32_t seed = 0;
  bool help = false;
  bool version = false;
};

// The largest picture the renderer makes, so that its three screen-sized buffers stay within
// reach of any machine (a little over 8K by 8K).
const int64_t kMaxRenderPixels = 64ll << 20;
const int32_t kMaxRenderSide = 16384;
const int32_t kMaxGifFps = 50;  // a GIF counts its delays in hundredths of a second

// False with a one-line message for a command line that is not one of the above.
bool ParseRenderOptions(int argc, const char* const* argv, RenderOptions* options, std::string* problem);

extern const char kRenderUsage[];
