#include "host_soft_window.h"

#include "surface.h"
#include "surface_soft.h"

Surface* SoftWindowReference(EngineHost*) {
  return CreateSoftReference();
}

void SoftReleaseWindowReference(EngineHost*, Surface* reference) {
  ReleaseSurface(reference);
}

void SoftAreaPresented(EngineHost*) {}
