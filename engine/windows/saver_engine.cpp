#include "saver_engine.h"

#include <mmsystem.h>

#include "engine.h"
#include "engine_host.h"
#include "saver_host.h"
#include "screen_layout.h"
#include "surface.h"
#include "surface_gdi.h"
#include "system_text.h"

namespace {

HWND engineWindow;

// Seconds since 1970-01-01 00:00 UTC, without the C runtime's clock.
uint32_t SecondsSince1970() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER ticks;
  ticks.LowPart = now.dwLowDateTime;
  ticks.HighPart = now.dwHighDateTime;
  return static_cast<uint32_t>((ticks.QuadPart - 116444736000000000ull) / 10000000ull);
}

}  // namespace

bool HostStartTimers(int32_t redrawPeriod, int32_t framePeriod) {
  UINT_PTR paint = SetTimer(engineWindow, kPaintTimerId, static_cast<UINT>(redrawPeriod), nullptr);
  UINT_PTR frame = SetTimer(engineWindow, kFrameTimerId, static_cast<UINT>(framePeriod), nullptr);
  return paint != 0 && frame != 0;
}

void HostStopTimers() {
  KillTimer(engineWindow, kPaintTimerId);
  KillTimer(engineWindow, kFrameTimerId);
}

// The engine draws with GDI, as the saver window does.
const SurfaceLayer& kProgramSurfaceLayer = kGdiSurfaceLayer;

Surface* HostWindowReference() {
  return WindowSurface(engineWindow);
}

void HostReleaseWindowReference(Surface* reference) {
  ReleaseSurface(reference);
}

void HostAreaPresented() {
  // A look into the queue for a message that never comes: the moment a waiting program gives
  // the window system to send what it drew. Nothing is taken from the queue.
  MSG none;
  PeekMessageA(&none, engineWindow, WM_APP + 0x3FFF, WM_APP + 0x3FFF, PM_NOREMOVE);
}

bool HostHasMemoryFor(uint64_t bytes) {
  // What the process may still commit and address; the older, smaller record is known to every
  // system this runs on.
  MEMORYSTATUS status;
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  return bytes <= status.dwAvailPageFile && bytes <= status.dwAvailVirtual;
}

void HostStartupFailure() {
  ShowFixedMessage(engineWindow, kNotEnoughMemoryText, kStartupFailureCaption, MB_OK | MB_ICONERROR);
  DestroyWindow(engineWindow);
}

void HostPlaySound(const uint8_t* data, int32_t) {
  PlaySoundA(reinterpret_cast<LPCSTR>(data), moduleInstance,
             SND_ASYNC | SND_NODEFAULT | SND_MEMORY | SND_LOOP | SND_NOWAIT);
}

void HostStopSound() {
  PlaySoundA(nullptr, moduleInstance, 0);
}

LRESULT EngineSaverProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                             OpenSceneSource openSource) {
  switch (message) {
    case WM_CREATE: {
      engineWindow = window;
      SceneGeometry geometry;
      ReadScreenLayout(window, previewMode, &geometry);
      LoadScene(openSource(window), geometry, SecondsSince1970());
      return 0;
    }
    case WM_DESTROY:
      ReleaseScene();
      PostQuitMessage(0);
      return 0;
    case WM_PAINT: {
      // The update region holds only what the system asks to have drawn again (the window
      // uncovered, the password prompt gone): the paint timer invalidates nothing. The paint
      // context is clipped to that region, so the picture goes through the window's own context
      // once the region is validated: what the characters changed, then what the system asked.
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      EndPaint(window, &paint);
      HDC context = GetDC(window);
      GdiSurface target = BorrowedSurface(context);
      PaintScene(&target);
      PresentArea(&target, paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right,
                  paint.rcPaint.bottom);
      ReleaseDC(window, context);
      return 0;
    }
    case WM_ERASEBKGND:
      return 0;
    case WM_TIMER:
      // A paint without an update region: each paint still moves the scene one step, and it
      // presents only what changed instead of the whole window.
      if (wParam == kPaintTimerId) RedrawWindow(window, nullptr, nullptr, RDW_INTERNALPAINT);
      if (wParam == kFrameTimerId) AdvanceFrames();
      return 0;
  }
  return DefaultSaverHandling(window, message, wParam, lParam);
}
