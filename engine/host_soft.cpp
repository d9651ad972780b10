#include "host_soft.h"

#include <cstring>

#include "host_soft_window.h"
#include "surface.h"

namespace {

SoftHost* Self(EngineHost* host) {
  return reinterpret_cast<SoftHost*>(host);
}

bool StartTimers(EngineHost* host, int32_t redrawPeriod, int32_t framePeriod) {
  SoftHost* self = Self(host);
  self->redrawPeriod = redrawPeriod;
  self->framePeriod = framePeriod;
  self->timersRunning = !self->refuseTimers;
  return self->timersRunning;
}

void StopTimers(EngineHost* host) {
  Self(host)->timersRunning = false;
}

void CaptureDisplay(EngineHost* host, Surface* dest, int32_t left, int32_t top) {
  const Surface* display = Self(host)->display;
  ++Self(host)->displayCopies;
  if (display && dest)
    TransferSurface(dest, 0, 0, SurfaceWidth(dest), SurfaceHeight(dest), display, left, top, RopSrcCopy);
}

bool HasMemoryFor(EngineHost* host, uint64_t bytes) {
  return Self(host)->memoryLimit == 0 || bytes <= Self(host)->memoryLimit;
}

void StartupFailure(EngineHost* host) {
  ++Self(host)->startupFailures;
}

void PlayLoopingSound(EngineHost* host, const uint8_t* data, int32_t size) {
  SoftHost* self = Self(host);
  ++self->soundStarts;
  self->soundData = data;
  self->soundSize = size;
}

void StopLoopingSound(EngineHost* host) {
  ++Self(host)->soundStops;
}

const EngineHost kSoftOperations = {StartTimers, StopTimers,   SoftWindowReference, SoftReleaseWindowReference,
                                    CaptureDisplay, SoftAreaPresented, HasMemoryFor, StartupFailure,
                                    PlayLoopingSound, StopLoopingSound, nullptr};

}  // namespace

void OpenSoftHost(SoftHost* host) {
  std::memset(host, 0, sizeof *host);
  host->base = kSoftOperations;
}
