#include "host_soft.h"

#include "engine_host.h"

SoftHost softHost;

bool HostStartTimers(int32_t redrawPeriod, int32_t framePeriod) {
  softHost.redrawPeriod = redrawPeriod;
  softHost.framePeriod = framePeriod;
  softHost.timersRunning = !softHost.refuseTimers;
  return softHost.timersRunning;
}

void HostStopTimers() {
  softHost.timersRunning = false;
}

bool HostHasMemoryFor(uint64_t bytes) {
  return softHost.memoryLimit == 0 || bytes <= softHost.memoryLimit;
}

void HostStartupFailure() {
  ++softHost.startupFailures;
}

void HostPlaySound(const uint8_t* data, int32_t size) {
  ++softHost.soundStarts;
  softHost.soundData = data;
  softHost.soundSize = size;
}

void HostStopSound() {
  ++softHost.soundStops;
}
