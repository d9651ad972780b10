// The window hooks of a host whose window is a pixel buffer (the headless host, the X11 player):
// the reference is a pixel-buffer one, and the picture reaches the screen whole, not area by area.
#include "engine_host.h"
#include "surface.h"
#include "surface_soft.h"

// The engine draws on pixel buffers, as this window is one.
const SurfaceLayer& kProgramSurfaceLayer = kSoftSurfaceLayer;

Surface* HostWindowReference() {
  return CreateSoftReference();
}

void HostReleaseWindowReference(Surface* reference) {
  ReleaseSurface(reference);
}

void HostAreaPresented() {}
