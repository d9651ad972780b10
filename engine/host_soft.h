// A headless saver window for the engine: records what the engine asked of it, for tests,
// benchmarks and tools.
#pragma once
#include <cstdint>

struct SoftHost {
  bool refuseTimers;  // set by a test to make the timers fail
  uint64_t memoryLimit;  // bytes the buffers may take; 0: as many as they need
  bool timersRunning;
  int32_t redrawPeriod, framePeriod;
  int32_t startupFailures;
  int32_t soundStarts, soundStops;
  const uint8_t* soundData;
  int32_t soundSize;
};

extern SoftHost softHost;
