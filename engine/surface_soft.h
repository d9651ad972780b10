// What the pixel-buffer surface layer offers beyond the shared operations: direct access to
// the pixels, references and windows.
#pragma once
#include <cstdint>

struct Surface;
struct SurfaceLayer;

// The pixel-buffer layer; the functions below take only the surfaces it made.
extern const SurfaceLayer kSoftSurfaceLayer;

// Row-major, top row first, 0x00BBGGRR; null for a reference.
uint32_t* SoftSurfacePixels(Surface* surface);
const uint32_t* SoftSurfacePixels(const Surface* surface);
// A context without a picture, as the host's window reference.
Surface* CreateSoftReference();
// Surfaces made and not yet released, references and windows included.
int32_t SoftLiveSurfaces();

// Where a window made by CreateSoftWindow sends what is copied onto it: the w x h pixels at
// `pixels` (0x00BBGGRR, rows `stride` pixels apart, already clipped to the window) now belong
// at (x, y) of the window. `lasting`: they are a surface's own pixels, which stay as they are
// until its owner draws on it again, so the sink may read them later (to join overlapping
// copies); otherwise they are gone when `put` returns. The X11 player puts them on the screen.
struct SoftWindowSink {
  void (*put)(SoftWindowSink* sink, const uint32_t* pixels, int32_t stride, int32_t x, int32_t y,
              int32_t width, int32_t height, bool lasting);
};

// A window surface of the given size that keeps no pixels of its own: every copy onto it
// (TransferSurface with RopSrcCopy, StretchSurface with RopSrcCopy) goes to the sink, so a
// picture reaches the screen without a second full-size buffer. Other operations onto it draw
// nothing and its pixels read as kInvalidColour. Released with ReleaseSurface.
Surface* CreateSoftWindow(int32_t width, int32_t height, SoftWindowSink* sink);
