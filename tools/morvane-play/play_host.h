// The engine's host for the X11 player: the timers become the scene's timeline and the sound
// goes to the sound output. The window operations are the pixel-buffer surfaces' own.
#pragma once
#include <cstddef>
#include <cstdint>

#include "engine_host.h"
#include "mapped_saver.h"
#include "tick_schedule.h"

struct PlayWindow;
struct SceneFile;
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
  // The wave image that plays, told apart from another by its size and where it lies in its
  // file, which a reload does not change (the scene file keeps its files open); one in memory
  // by its size and a hash, so that no second copy of a long sound is kept to compare with.
  bool soundOn;
  size_t playingSize;
  FileSpan playingSpan;  // descriptor -1: in memory
  uint64_t playingHash;
  // The scene file the loads read: a sound lying in one of its files is played from there.
  const SceneFile* file;
  bool soundRefusalShown;
  // The window's clock reading by which the scene's first picture is due, the rest of a slow
  // wallpaper coming after it; -1: the first picture waits for the whole wallpaper.
  PlayWindow* window;
  int64_t firstPictureAt;
};

// A host that plays its sound on `sound`, with nothing running; the sound that `file`'s loads
// hand over from its files plays from there. The clock is `window`'s.
void OpenPlayHost(PlayHost* host, SoundOutput* sound, const SceneFile* file, PlayWindow* window);
// Ends a reload: the old sound stops if the new scene did not ask for it again.
void FinishReload(PlayHost* host);
