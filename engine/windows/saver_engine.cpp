#include "saver_engine.h"

#include <mmsystem.h>

#include <cstdlib>

#include "engine.h"
#include "engine_host.h"
#include "saver_host.h"
#include "scene_source.h"
#include "screen_layout.h"
#include "surface.h"
#include "surface_gdi.h"
#include "system_text.h"

// The engine draws with GDI, as the saver window does.
const SurfaceLayer& kProgramSurfaceLayer = kGdiSurfaceLayer;

namespace {

// The engine's part of a saver window: its scene, and the host operations that act on the window.
struct EngineWindow {
  EngineHost base;
  HWND window;
  const SaverHost* saver;
  SceneModel scene;
};

EngineWindow* Self(EngineHost* host) {
  return reinterpret_cast<EngineWindow*>(host);
}

// Seconds since 1970-01-01 00:00 UTC, without the C runtime's clock.
uint32_t SecondsSince1970() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER ticks;
  ticks.LowPart = now.dwLowDateTime;
  ticks.HighPart = now.dwHighDateTime;
  return static_cast<uint32_t>((ticks.QuadPart - 116444736000000000ull) / 10000000ull);
}

bool StartTimers(EngineHost* host, int32_t redrawPeriod, int32_t framePeriod) {
  HWND window = Self(host)->window;
  UINT_PTR paint = SetTimer(window, kPaintTimerId, static_cast<UINT>(redrawPeriod), nullptr);
  UINT_PTR frame = SetTimer(window, kFrameTimerId, static_cast<UINT>(framePeriod), nullptr);
  return paint != 0 && frame != 0;
}

void StopTimers(EngineHost* host) {
  KillTimer(Self(host)->window, kPaintTimerId);
  KillTimer(Self(host)->window, kFrameTimerId);
}

Surface* WindowReference(EngineHost* host) {
  return WindowSurface(Self(host)->window);
}

void ReleaseWindowReference(EngineHost*, Surface* reference) {
  ReleaseSurface(reference);
}

void CaptureDesktop(EngineHost*, Surface* dest, int32_t left, int32_t top) {
  CaptureDisplay(dest, left, top);
}

void AreaPresented(EngineHost*) {
  // A look at the mouse button's state: the moment a program gives the window system to send
  // what it drew. Wine's X11 driver sends it there without a round trip to the Wine server
  // (which a look into the message queue costs), since the state is kept for a while.
  GetAsyncKeyState(VK_LBUTTON);
}

bool HasMemoryFor(EngineHost*, uint64_t bytes) {
  // What the process may still commit and address; the older, smaller record is known to every
  // system this runs on.
  MEMORYSTATUS status;
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  return bytes <= status.dwAvailPageFile && bytes <= status.dwAvailVirtual;
}

void ShowStartupFailure(const SaverHost* saver, HWND window) {
  ShowFixedMessage(saver, window, kNotEnoughMemoryText, kStartupFailureCaption, MB_OK | MB_ICONERROR);
  DestroyWindow(window);
}

void StartupFailure(EngineHost* host) {
  ShowStartupFailure(Self(host)->saver, Self(host)->window);
}

void PlayLoopingSound(EngineHost* host, const uint8_t* data, int32_t) {
  PlaySoundA(reinterpret_cast<LPCSTR>(data), Self(host)->saver->module,
             SND_ASYNC | SND_NODEFAULT | SND_MEMORY | SND_LOOP | SND_NOWAIT);
}

void StopLoopingSound(EngineHost* host) {
  PlaySoundA(nullptr, Self(host)->saver->module, 0);
}

const EngineHost kWindowOperations = {StartTimers,    StopTimers,     WindowReference,  ReleaseWindowReference,
                                      CaptureDesktop, AreaPresented,  HasMemoryFor,     StartupFailure,
                                      PlayLoopingSound, StopLoopingSound, nullptr};

// One step of the scene onto the window, and the area the system asked to have drawn again
// (none for the paint timer's paints). A window of the saver class has its own context, so
// asking for it again costs nothing while its clipping stays the same.
void PaintWindow(EngineWindow* engine, const RECT* asked) {
  HDC context = GetDC(engine->window);
  GdiSurface target = BorrowedSurface(context);
  PaintScene(&engine->scene, &target);
  if (asked) PresentArea(&engine->scene, &target, asked->left, asked->top, asked->right, asked->bottom);
  ReleaseDC(engine->window, context);
}

}  // namespace

LRESULT StartEngineSaver(SaverHost* host, HWND window, SceneSource* source) {
  EngineWindow* engine = static_cast<EngineWindow*>(calloc(1, sizeof(EngineWindow)));
  if (!engine) {
    source->close(source);
    ShowStartupFailure(host, window);
    return 0;
  }
  engine->base = kWindowOperations;
  engine->window = window;
  engine->saver = host;
  host->program = engine;
  SceneGeometry geometry;
  ReadScreenLayout(window, host->preview, &geometry);
  // A failed start destroys the window, and with it the engine's part, before this returns.
  LoadScene(&engine->scene, &engine->base, source, geometry, SecondsSince1970());
  return 0;
}

const SceneModel* EngineSaverScene(const SaverHost* host) {
  const EngineWindow* engine = static_cast<const EngineWindow*>(host->program);
  return engine ? &engine->scene : nullptr;
}

LRESULT EngineSaverProcedure(SaverHost* host, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  EngineWindow* engine = static_cast<EngineWindow*>(host->program);
  switch (message) {
    case WM_DESTROY:
      if (engine) {
        ReleaseScene(&engine->scene);
        free(engine);
        host->program = nullptr;
      }
      PostQuitMessage(0);
      return 0;
    case WM_PAINT: {
      if (!engine) break;
      // Only the system asks for these (the window shown or uncovered, the password prompt
      // gone): the paint timer paints without them. The paint context is clipped to the update
      // region, so the picture goes through the window's own context once the region is
      // validated: what the characters changed, then what the system asked.
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      EndPaint(window, &paint);
      PaintWindow(engine, &paint.rcPaint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 0;
    case WM_TIMER:
      // Each tick paints at once through the window's own context: asking the system for a
      // paint message instead costs, under Wine, a round trip to its server for the request,
      // for the message, for the update region, the caret and the context's visible region,
      // and the cursor hidden again at every paint; together more than the paint itself.
      if (wParam == kPaintTimerId && engine) PaintWindow(engine, nullptr);
      if (wParam == kFrameTimerId && engine) AdvanceFrames(&engine->scene);
      return 0;
  }
  return DefaultSaverHandling(host, window, message, wParam, lParam);
}
