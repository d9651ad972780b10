// The GDI surface layer's own view of a surface, for the Windows code around the engine: the
// saver procedure wraps its paint context in one, the designer adopts loaded bitmaps.
#pragma once
#include <windows.h>

#include <cstdint>

struct Surface {
  HDC context;
  HBITMAP bitmap;     // owned picture; null for a reference or a borrowed context
  HGDIOBJ previous;   // what the new context held before the picture was selected
  HWND window;        // set for a window's context, which goes back with ReleaseDC
  int32_t width, height;
};

// A borrowed context (a paint context): never passed to ReleaseSurface.
inline Surface BorrowedSurface(HDC context) {
  Surface surface = {context, nullptr, nullptr, nullptr, 0, 0};
  return surface;
}

// The window's own context as a reference, given back by ReleaseSurface.
Surface* WindowSurface(HWND window);
// Copies the screen's current image, from (left, top) of the virtual screen on, into dest: the
// desktop for a saver window's host to give the engine.
void CaptureDisplay(Surface* dest, int32_t left, int32_t top);
