// What the pixel-buffer surface layer offers beyond the shared operations: direct access to
// the pixels, and the stand-in for the display's image.
#pragma once
#include <cstdint>

struct Surface;

// Row-major, top row first, 0x00BBGGRR; null for a reference.
uint32_t* SoftSurfacePixels(Surface* surface);
const uint32_t* SoftSurfacePixels(const Surface* surface);
// A context without a picture, as the host's window reference.
Surface* CreateSoftReference();
// The picture CaptureDisplay copies from; null (the default) leaves buffers black.
void SetSoftDisplay(const Surface* display);
// Surfaces made and not yet released, references included.
int32_t SoftLiveSurfaces();
