// The player's loop: loads the scene at the window's size, runs the scene's timeline in real
// time, presents what changed, answers exposures and resizes, and ends when asked.
#pragma once
#include <cstdint>

struct PlayWindow;
struct SceneFile;
struct SoundOutput;

struct PlayLoopOptions {
  uint32_t seed;
  bool showRate;   // the paint rate over the picture
  int64_t paints;  // stop animating after this many paints; negative: never
  int32_t paintPeriod;  // milliseconds from paint to paint; 0: the scene's own
  // Called once the first picture is on the screen (the loop then waits for the display to
  // show it, which it otherwise never does); null: not asked.
  void (*firstPictureShown)();
};

enum PlayEnd { PlayEnded, PlayStartFailed, PlayDisplayLost };

PlayEnd RunPlayLoop(PlayWindow* window, SceneFile* file, SoundOutput* sound,
                    const PlayLoopOptions& options);
