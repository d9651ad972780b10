// The engine's host hooks for in-process GDI tests: no window, the display as reference.
#include "engine_host.h"
#include "surface.h"
#include "surface_gdi.h"

const SurfaceLayer& kProgramSurfaceLayer = kGdiSurfaceLayer;

int gdiTestStartupFailures;
int32_t gdiTestRedrawPeriod, gdiTestFramePeriod;

bool HostStartTimers(int32_t redrawPeriod, int32_t framePeriod) {
  gdiTestRedrawPeriod = redrawPeriod;
  gdiTestFramePeriod = framePeriod;
  return true;
}
void HostStopTimers() {}
Surface* HostWindowReference() { return OpenDisplayReference(); }
void HostReleaseWindowReference(Surface* reference) { ReleaseSurface(reference); }
void HostAreaPresented() {}
bool HostHasMemoryFor(uint64_t) { return true; }
void HostStartupFailure() { ++gdiTestStartupFailures; }
void HostPlaySound(const uint8_t*, int32_t) {}
void HostStopSound() {}
