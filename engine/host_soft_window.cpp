#include "host_soft_window.h"

#include "surface.h"
#include "surface_soft.h"

// The engine draws on pixel buffers, as this window is one.
const SurfaceLayer& kProgramSurfaceLayer = kSoftSurfaceLayer;

Surface* SoftWindowReference(EngineHost*) {
  return CreateSoftReference();
}

void SoftReleaseWindowReference(EngineHost*, Surface* reference) {
  ReleaseSurface(reference);
}

void SoftAreaPresented(EngineHost*) {}
