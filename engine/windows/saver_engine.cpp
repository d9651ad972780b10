#include "saver_engine.h"

#include <mmsystem.h>

#include "engine.h"
#include "engine_host.h"
#include "saver_host.h"
#include "surface.h"
#include "surface_gdi.h"

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

Surface* HostWindowReference() {
  return WindowSurface(engineWindow);
}

void HostReleaseWindowReference(Surface* reference) {
  ReleaseSurface(reference);
}

void HostStartupFailure() {
  WCHAR text[128], caption[64];
  if (!LoadStringW(moduleInstance, kNotEnoughMemoryText, text, 128)) text[0] = 0;
  if (!LoadStringW(moduleInstance, kStartupFailureCaption, caption, 64)) caption[0] = 0;
  MessageBoxW(engineWindow, text, caption, MB_OK | MB_ICONERROR);
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
      RECT area;
      GetWindowRect(window, &area);
      SceneGeometry geometry = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                area.left, area.top, area.right, area.bottom};
      LoadScene(openSource(window), geometry, SecondsSince1970());
      return 0;
    }
    case WM_DESTROY:
      ReleaseScene();
      PostQuitMessage(0);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      Surface target = BorrowedSurface(paint.hdc);
      PaintScene(&target);
      // The paint timer invalidates the whole window, so this still presents everything; it
      // also covers what the system asks for (an uncovered window, the password prompt gone).
      PresentArea(&target, paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right,
                  paint.rcPaint.bottom);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 0;
    case WM_TIMER:
      if (wParam == kPaintTimerId) InvalidateRect(window, nullptr, FALSE);
      if (wParam == kFrameTimerId) AdvanceFrames();
      return 0;
  }
  return DefaultSaverHandling(window, message, wParam, lParam);
}
