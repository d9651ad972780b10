// The GDI surface layer's own view of a surface, for the Windows code around the engine: the
// saver procedure wraps its paint context in one, the designer adopts loaded bitmaps.
#pragma once
#include <windows.h>

#include <cstdint>

#include "surface.h"

extern const SurfaceLayer kGdiSurfaceLayer;

struct GdiSurface : Surface {
  HDC context;
  HBITMAP bitmap;     // owned picture; null for a reference or a borrowed context
  HGDIOBJ previous;   // what the new context held before the picture was selected
  HWND window;        // set for a window's context, which goes back with ReleaseDC
  uint32_t* pixels;   // the premultiplied bottom-up pixels of an own-pixels picture, else null
};

// A surface of the GDI layer as that layer sees it.
inline GdiSurface* AsGdiSurface(Surface* surface) {
  return static_cast<GdiSurface*>(surface);
}
inline const GdiSurface* AsGdiSurface(const Surface* surface) {
  return static_cast<const GdiSurface*>(surface);
}

// A borrowed context (a paint context): never passed to ReleaseSurface.
inline GdiSurface BorrowedSurface(HDC context) {
  GdiSurface surface = {{0, 0, 0}, context, nullptr, nullptr, nullptr, nullptr};
  return surface;
}

// The window's own context as a reference, given back by ReleaseSurface.
Surface* WindowSurface(HWND window);
// Copies the screen's current image, from (left, top) of the virtual screen on, into dest: the
// desktop for a saver window's host to give the engine.
void CaptureDisplay(Surface* dest, int32_t left, int32_t top);
