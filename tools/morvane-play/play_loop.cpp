#include "play_loop.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine.h"
#include "play_host.h"
#include "play_window.h"
#include "scene_file.h"
#include "sound_output.h"

namespace {

// A loop that fell further behind than this (a stopped process, a swamped machine) pauses the
// scene instead of rushing through every paint it missed.
const int64_t kLongestCatchUp = 1000;
// How long a load may draw its wallpaper before the first picture comes with the background's
// colour alone, the wallpaper following as it is decoded (a huge picture of a settings file):
// with the window's start before it, the picture is up within half a second.
const int64_t kWallpaperWait = 250;
static_assert(kMaxWindowMonitors <= kMonitorSlots, "every monitor of the window has its slot in the engine");

struct Player {
  PlayWindow* window;
  SceneFile* file;
  PlayHost host;
  SceneModel scene;
  PlayLoopOptions options;
  int64_t origin;  // the clock's reading at the scene's time 0
  int64_t paints;
  bool frozen;
  bool firstShown;
  // The paint rate shown with -fps: paints counted since rateStart.
  int64_t rateStart, ratePaints;
  char rateText[32];
};

bool Load(Player* player) {
  PlayWindow* window = player->window;
  player->host.startupFailed = false;
  SceneGeometry geometry = {window->width, window->height, 0, 0, window->width, window->height, 0, 0, 0, {}};
  for (int i = 0; i < window->monitorCount; ++i) {
    const WindowMonitor& m = window->monitors[i];
    geometry.monitors[geometry.monitorCount++] = SceneArea{m.left, m.top, m.width, m.height};
  }
  // A picture asked for by its paint's number is the one the scene gives whole.
  player->host.firstPictureAt = player->options.paints > 0 ? -1 : window->now(window) + kWallpaperWait;
  LoadScene(&player->scene, &player->host.base, OpenSceneFileSource(player->file), geometry, player->options.seed);
  player->origin = window->now(window);
  player->rateStart = player->origin;
  player->ratePaints = 0;
  return !player->host.startupFailed;
}

// The scene again at the window's new size: the engine's limits and buffers follow the screen
// it plays on, which for a hack is its window. A sound the load decoded plays from the model's
// own block, which the release would free while the sound goes on: the block stays until the
// new load has asked for the same sound again (the output then plays on from the new load's
// block), for another, or for none (the sound stops).
bool Reload(Player* player, int32_t width, int32_t height) {
  player->host.reloading = true;
  SceneModel& scene = player->scene;
  uint8_t* playing = scene.soundInPlace ? nullptr : scene.soundData;
  scene.soundData = scene.soundInPlace ? scene.soundData : nullptr;
  ReleaseScene(&scene);
  bool ok = player->window->resize(player->window, width, height) && Load(player);
  FinishReload(&player->host);
  std::free(playing);
  return ok;
}

void CountPaint(Player* player, int64_t now) {
  ++player->ratePaints;
  if (now - player->rateStart >= 1000) {
    std::snprintf(player->rateText, sizeof player->rateText, "FPS: %.1f",
                  player->ratePaints * 1000.0 / static_cast<double>(now - player->rateStart));
    player->rateStart = now;
    player->ratePaints = 0;
  }
}

// Plays every tick that is due by now; true when something was painted.
bool PlayDueTicks(Player* player) {
  PlayWindow* window = player->window;
  TickSchedule* schedule = &player->host.schedule;
  const int64_t now = window->now(window);
  int64_t sceneTime = now - player->origin;
  const int64_t behind = sceneTime - NextTickTime(schedule);
  if (behind > kLongestCatchUp) {
    player->origin += behind;
    sceneTime -= behind;
  }
  bool painted = false;
  while (!player->frozen && player->host.timersRunning && NextTickTime(schedule) <= sceneTime) {
    if (TakeNextTick(schedule) == TickFrame) {
      AdvanceFrames(&player->scene);
      continue;
    }
    PaintScene(&player->scene, window->surface);
    painted = true;
    CountPaint(player, now);
    if (++player->paints == player->options.paints) player->frozen = true;
  }
  return painted;
}

void PresentExposed(Player* player, const WindowEvents& events) {
  PlayWindow* window = player->window;
  if (events.exposedAll) {
    PresentArea(&player->scene, window->surface, 0, 0, window->width, window->height);
    return;
  }
  for (int i = 0; i < events.exposedCount; ++i) {
    const auto& area = events.exposed[i];
    PresentArea(&player->scene, window->surface, area.left, area.top, area.right, area.bottom);
  }
}

}  // namespace

PlayEnd RunPlayLoop(PlayWindow* window, SceneFile* file, SoundOutput* sound, const PlayLoopOptions& options) {
  Player player;
  player.window = window;
  player.file = file;
  OpenPlayHost(&player.host, sound, file, window);
  player.host.paintPeriod = options.paintPeriod;
  player.options = options;
  player.paints = 0;
  player.frozen = false;
  player.firstShown = false;
  std::strcpy(player.rateText, "FPS: -");
  PlayEnd end = PlayEnded;
  if (!Load(&player)) {
    end = PlayStartFailed;
  } else {
    for (;;) {
      const bool ticking = player.host.timersRunning && !player.frozen;
      // A frame tick only moves the characters on to their next pictures, which nothing shows
      // before the next paint: the loop sleeps until that paint and plays the frame ticks due by
      // then in their order before it, as it would have one by one.
      const int64_t deadline = ticking ? player.origin + player.host.schedule.nextPaint : -1;
      // A wallpaper still to come is drawn a band at a time while the loop would sleep, and at
      // least one band a turn, so that a loop that is always behind its paints still finishes it.
      if (WallpaperPending(&player.scene)) {
        do ContinueWallpaper(&player.scene);
        while (WallpaperPending(&player.scene) && (deadline < 0 || window->now(window) < deadline));
      }
      // So is a sound still being decoded, once the wallpaper is whole.
      if (!WallpaperPending(&player.scene) && SoundPending(&player.scene)) {
        do ContinueSound(&player.scene);
        while (SoundPending(&player.scene) && (deadline < 0 || window->now(window) < deadline));
      }
      WindowEvents events;
      std::memset(&events, 0, sizeof events);
      window->wait(window, deadline, &events);
      if (events.stop) {
        if (events.displayLost) end = PlayDisplayLost;
        break;
      }
      if (events.resized && (events.width != window->width || events.height != window->height)) {
        if (!Reload(&player, events.width, events.height)) {
          end = PlayStartFailed;
          break;
        }
      } else {
        PresentExposed(&player, events);
      }
      const bool wasFrozen = player.frozen;
      const bool painted = PlayDueTicks(&player);
      if (options.showRate && (painted || events.exposedCount || events.exposedAll))
        window->showText(window, player.rateText);
      window->flush(window);
      if (painted && options.firstPictureShown && !player.firstShown) {
        window->sync(window);
        player.firstShown = true;
        options.firstPictureShown();
      }
      if (player.frozen && !wasFrozen) {
        // Said once the picture is on the screen, so that whoever waits for it can look.
        window->sync(window);
        std::fprintf(stderr, "morvane-play: stopped after %lld paints\n", static_cast<long long>(player.paints));
      }
    }
  }
  ReleaseScene(&player.scene);
  return end;
}
