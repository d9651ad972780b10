#include "play_host.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "engine_host.h"
#include "sound_output.h"

namespace {

// The engine calls its host hooks without a context, as a window system's callbacks would;
// the loop attaches its host for the time it plays.
PlayHost* activeHost = nullptr;

}  // namespace

void AttachPlayHost(PlayHost* host) {
  activeHost = host;
}

void FinishReload(PlayHost* host) {
  if (host->stopDeferred) {
    host->sound->stop(host->sound);
    host->playing.clear();
  }
  host->reloading = false;
  host->stopDeferred = false;
}

bool HostStartTimers(int32_t redrawPeriod, int32_t framePeriod) {
  const int32_t paintPeriod = activeHost->paintPeriod;
  if (paintPeriod > 0 && redrawPeriod > 0) {
    const int64_t scaled = static_cast<int64_t>(framePeriod) * paintPeriod / redrawPeriod;
    framePeriod = framePeriod > 0 && scaled < 1 ? 1 : static_cast<int32_t>(scaled > INT32_MAX ? INT32_MAX : scaled);
    redrawPeriod = paintPeriod;
  }
  StartTickSchedule(&activeHost->schedule, redrawPeriod, framePeriod);
  activeHost->timersRunning = true;
  return true;
}

void HostStopTimers() {
  activeHost->timersRunning = false;
}

// The kernel's estimate of what can be had without swapping; a system that does not say is
// trusted, and the allocation itself still fails cleanly.
bool HostHasMemoryFor(uint64_t bytes) {
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

void HostStartupFailure() {
  activeHost->startupFailed = true;
}

void HostPlaySound(const uint8_t* data, int32_t size) {
  PlayHost* host = activeHost;
  const size_t bytes = static_cast<size_t>(size);
  if (host->reloading && host->playing.size() == bytes && std::equal(data, data + bytes, host->playing.begin())) {
    host->stopDeferred = false;
    return;
  }
  const char* why = nullptr;
  if (host->sound->play(host->sound, data, bytes, &why)) {
    host->playing.assign(data, data + bytes);
    host->stopDeferred = false;
  } else {
    host->playing.clear();
    if (!host->soundRefusalShown) std::fprintf(stderr, "morvane-play: note: the sound plays silently: %s\n", why);
    host->soundRefusalShown = true;
  }
}

void HostStopSound() {
  PlayHost* host = activeHost;
  if (host->reloading) {
    host->stopDeferred = true;
    return;
  }
  host->sound->stop(host->sound);
  host->playing.clear();
}
