#include "play_host.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <type_traits>

#include "host_soft_window.h"
#include "play_window.h"
#include "scene_file.h"
#include "sound_output.h"

namespace {

// The engine hands back the table at the start of the host.
static_assert(std::is_standard_layout<PlayHost>::value, "the table is the host's first member");

PlayHost* Self(EngineHost* host) {
  return reinterpret_cast<PlayHost*>(host);
}

bool StartTimers(EngineHost* host, int32_t redrawPeriod, int32_t framePeriod) {
  PlayHost* self = Self(host);
  const int32_t paintPeriod = self->paintPeriod;
  if (paintPeriod > 0 && redrawPeriod > 0) {
    const int64_t scaled = static_cast<int64_t>(framePeriod) * paintPeriod / redrawPeriod;
    framePeriod = framePeriod > 0 && scaled < 1 ? 1 : static_cast<int32_t>(scaled > INT32_MAX ? INT32_MAX : scaled);
    redrawPeriod = paintPeriod;
  }
  StartTickSchedule(&self->schedule, redrawPeriod, framePeriod);
  self->timersRunning = true;
  return true;
}

void StopTimers(EngineHost* host) {
  Self(host)->timersRunning = false;
}

// The window shows no desktop: the buffers start black.
void CaptureNothing(EngineHost*, Surface*, int32_t, int32_t) {}

// The kernel's estimate of what can be had without swapping; a system that does not say is
// trusted, and the allocation itself still fails cleanly.
bool HasMemoryFor(EngineHost*, uint64_t bytes) {
  FILE* meminfo = std::fopen("/proc/meminfo", "r");
  if (!meminfo) return true;
  unsigned long long availableKiB = 0;
  bool known = false;
  char line[128];
  while (!known && std::fgets(line, sizeof line, meminfo))
    known = std::sscanf(line, "MemAvailable: %llu kB", &availableKiB) == 1;
  std::fclose(meminfo);
  return !known || bytes / 1024 <= availableKiB;
}

void StartupFailure(EngineHost* host) {
  Self(host)->startupFailed = true;
}

uint64_t WaveHash(const uint8_t* data, size_t size) {
  uint64_t hash = 1469598103934665603ull;  // 64-bit FNV-1a
  for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 1099511628211ull;
  return hash;
}

void PlayLoopingSound(EngineHost* engineHost, const uint8_t* data, int32_t size) {
  PlayHost* host = Self(engineHost);
  const size_t bytes = static_cast<size_t>(size);
  FileSpan span = {-1, 0};
  const bool inFile = host->file && FindInSceneFile(*host->file, data, bytes, &span);
  // Hashing a sound in a file would bring all of it into memory.
  const uint64_t hash = inFile ? 0 : WaveHash(data, bytes);
  if (host->reloading && host->soundOn && host->playingSize == bytes && host->playingSpan.descriptor == span.descriptor &&
      host->playingSpan.offset == span.offset && host->playingHash == hash) {
    // A sound in memory is the new load's copy: the old one goes with the reload.
    if (!inFile) host->sound->move(host->sound, data);
    host->stopDeferred = false;
    return;
  }
  const char* why = nullptr;
  host->soundOn = host->sound->play(host->sound, data, bytes, inFile ? &span : nullptr, &why);
  host->playingSize = bytes;
  host->playingSpan = span;
  host->playingHash = hash;
  if (host->soundOn) {
    host->stopDeferred = false;
  } else {
    if (!host->soundRefusalShown) std::fprintf(stderr, "morvane-play: note: the sound plays silently: %s\n", why);
    host->soundRefusalShown = true;
  }
}

void StopLoopingSound(EngineHost* engineHost) {
  PlayHost* host = Self(engineHost);
  if (host->reloading) {
    host->stopDeferred = true;
    return;
  }
  host->sound->stop(host->sound);
  host->soundOn = false;
}

bool FirstPictureDue(EngineHost* base) {
  PlayHost* host = reinterpret_cast<PlayHost*>(base);
  return host->firstPictureAt >= 0 && host->window->now(host->window) >= host->firstPictureAt;
}

const EngineHost kPlayOperations = {StartTimers,      StopTimers,        SoftWindowReference, SoftReleaseWindowReference,
                                    CaptureNothing,   SoftAreaPresented, HasMemoryFor,        StartupFailure,
                                    PlayLoopingSound, StopLoopingSound,  FirstPictureDue};

}  // namespace

void OpenPlayHost(PlayHost* host, SoundOutput* sound, const SceneFile* file, PlayWindow* window) {
  host->base = kPlayOperations;
  host->window = window;
  host->firstPictureAt = -1;
  host->schedule = TickSchedule();
  host->timersRunning = false;
  host->startupFailed = false;
  host->sound = sound;
  host->reloading = false;
  host->stopDeferred = false;
  host->soundOn = false;
  host->playingSize = 0;
  host->playingSpan = FileSpan{-1, 0};
  host->playingHash = 0;
  host->file = file;
  host->soundRefusalShown = false;
  host->paintPeriod = 0;
}

void FinishReload(PlayHost* host) {
  if (host->stopDeferred) {
    host->sound->stop(host->sound);
    host->soundOn = false;
  }
  host->reloading = false;
  host->stopDeferred = false;
}
