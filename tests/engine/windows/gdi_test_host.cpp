#include "gdi_test_host.h"

#include "surface.h"
#include "surface_gdi.h"

const SurfaceLayer& kProgramSurfaceLayer = kGdiSurfaceLayer;

namespace {

GdiTestHost* Self(EngineHost* host) { return reinterpret_cast<GdiTestHost*>(host); }

bool StartTimers(EngineHost* host, int32_t redrawPeriod, int32_t framePeriod) {
  Self(host)->redrawPeriod = redrawPeriod;
  Self(host)->framePeriod = framePeriod;
  return true;
}
void StopTimers(EngineHost*) {}
Surface* WindowReference(EngineHost*) { return OpenDisplayReference(); }
void ReleaseWindowReference(EngineHost*, Surface* reference) { ReleaseSurface(reference); }
void CaptureScreen(EngineHost*, Surface* dest, int32_t left, int32_t top) { CaptureDisplay(dest, left, top); }
void AreaPresented(EngineHost*) {}
bool HasMemoryFor(EngineHost*, uint64_t) { return true; }
void StartupFailure(EngineHost* host) { ++Self(host)->startupFailures; }
void PlayLoopingSound(EngineHost*, const uint8_t*, int32_t) {}
void StopLoopingSound(EngineHost*) {}

}  // namespace

void OpenGdiTestHost(GdiTestHost* host) {
  *host = GdiTestHost();
  host->base = EngineHost{StartTimers,   StopTimers,   WindowReference, ReleaseWindowReference, CaptureScreen,
                          AreaPresented, HasMemoryFor, StartupFailure,  PlayLoopingSound,       StopLoopingSound, nullptr};
}
