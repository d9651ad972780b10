// The shapes of bitmap this system takes: the one check that the picture intake (for every
// format), the decoding of frame records and the player's record check all make before they
// trust a size for an allocation.
#pragma once
#include <cstdint>

// Null when width, height (negative for top-down), bits per pixel and compression form a
// bitmap that can be read within the size caps; otherwise the reason it cannot.
const char* DibShapeProblem(int32_t width, int32_t height, uint16_t bitCount, uint32_t compression);
