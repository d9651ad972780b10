// The engine's host for the X11 player: the timers become the scene's timeline and the sound
// goes to the sound output. The window operations are the pixel-buffer surfaces' own.
#pragma once
#include <cstddef>
#include <cstdint>

#include "engine_host.h"
#include "tick_schedule.h"

struct SoundOutput;

struct PlayHost {
  EngineHost base;
  TickSchedule schedule;
  bool timersRunning;
  bool startupFailed;
  SoundOutput* sound;
  // Milliseconds from one paint to the next in place of the scene's own (--delay); 0: the
  // scene's. The frames keep their number of paints each.
  int32_t paintPeriod;
  // While the scene loads again for a new window size, its sound goes on playing when the
  // new load asks for the same wave.
  bool reloading;
  bool stopDeferred;
  // The wave image that plays, told apart from another by its size and a hash, so that no
  // second copy of a long sound is kept to compare with; a lasting one by where it lies, which
  // a reload does not change (hashing it would bring all of it into memory).
  bool soundOn;
  size_t playingSize;
  uint64_t playingHash;
  const uint8_t* playingLasting;
  // A packaged saver's file, mapped for as long as the program plays: a sound lying there is
  // played in place rather than copied. Both null where there is none.
  const uint8_t* lastingBegin;
  const uint8_t* lastingEnd;
  bool soundRefusalShown;
};

// A host that plays its sound on `sound`, with nothing running.
void OpenPlayHost(PlayHost* host, SoundOutput* sound);
// Ends a reload: the old sound stops if the new scene did not ask for it again.
void FinishReload(PlayHost* host);
