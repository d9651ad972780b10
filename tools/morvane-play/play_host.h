// The engine's host hooks for the X11 player: the timers become the scene's timeline and the
// sound goes to the sound output. The window hooks come with the pixel-buffer surfaces.
#pragma once
#include <cstdint>
#include <vector>

#include "tick_schedule.h"

struct SoundOutput;

struct PlayHost {
  TickSchedule schedule;
  bool timersRunning = false;
  bool startupFailed = false;
  SoundOutput* sound = nullptr;
  // Milliseconds from one paint to the next in place of the scene's own (--delay); 0: the
  // scene's. The frames keep their number of paints each.
  int32_t paintPeriod = 0;
  // While the scene loads again for a new window size, its sound goes on playing when the
  // new load asks for the same wave.
  bool reloading = false;
  bool stopDeferred = false;
  std::vector<uint8_t> playing;  // the wave image that plays
  bool soundRefusalShown = false;
};

// The host the engine's hooks act on from now on (null: none).
void AttachPlayHost(PlayHost* host);
// Ends a reload: the old sound stops if the new scene did not ask for it again.
void FinishReload(PlayHost* host);
