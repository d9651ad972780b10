// Reads back what a GDI surface or a window's own context holds, for comparisons with the
// pixel buffers and with the engine's work buffer.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

struct Surface;

// The surface's pixels, top row first, 0x00BBGGRR.
void ReadGdiPixels(Surface* surface, std::vector<uint32_t>* pixels);
// The top-left width x height of what the window's own context holds, whatever else is on the
// screen above it.
void ReadWindow(HWND window, int32_t width, int32_t height, std::vector<uint32_t>* pixels);
