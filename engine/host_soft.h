// A headless saver window for the engine: records what the engine asked of it, for tests,
// benchmarks and tools. Each scene gets a host of its own.
#pragma once
#include <cstdint>

#include "engine_host.h"

struct SoftHost {
  EngineHost base;
  // Set by the caller after OpenSoftHost.
  bool refuseTimers;     // the timers fail
  uint64_t memoryLimit;  // bytes the buffers may take; 0: as many as they need
  const Surface* display;  // the desktop the buffers start from; null leaves them black
  // What the engine asked.
  bool timersRunning;
  int32_t redrawPeriod, framePeriod;
  int32_t startupFailures;
  int32_t displayCopies;  // how often the desktop was read
  int32_t soundStarts, soundStops;
  const uint8_t* soundData;
  int32_t soundSize;
};

// A host with nothing set and nothing recorded.
void OpenSoftHost(SoftHost* host);
