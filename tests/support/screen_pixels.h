// What the screen shows, read back for tests that look at the programs from outside.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

// The screen's pixels inside the rectangle, top row first, 0x00RRGGBB.
std::vector<uint32_t> ScreenPixels(const RECT& area);
