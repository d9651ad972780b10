// The one flood fill: the 4-connected area of one value around a seed takes another, a row's run
// at a time. Its stack holds one seed per run found, not per pixel, and stays on the machine
// stack until it outgrows it. Pixel-buffer surfaces fill with it; the picture intake marks a
// picture's corner area with it, the area the players' fill will reach.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

// False when the seeds outgrew the memory to be had; the area is then partly filled.
template <typename Pixel>
bool ScanlineFill(Pixel* pixels, int32_t width, int32_t height, int32_t x, int32_t y, Pixel match, Pixel paint) {
  if (x < 0 || y < 0 || x >= width || y >= height || match == paint) return true;
  if (pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] != match) return true;
  const size_t kStackSeeds = 256;
  int32_t onStack[2 * kStackSeeds];
  size_t capacity = kStackSeeds, count = 0;
  int32_t* seeds = onStack;
  seeds[0] = x;
  seeds[1] = y;
  count = 1;
  bool ok = true;
  while (count && ok) {
    --count;
    const int32_t sx = seeds[count * 2], sy = seeds[count * 2 + 1];
    Pixel* row = pixels + static_cast<size_t>(sy) * static_cast<size_t>(width);
    if (row[sx] != match) continue;
    int32_t left = sx, right = sx;
    while (left > 0 && row[left - 1] == match) --left;
    while (right + 1 < width && row[right + 1] == match) ++right;
    for (int32_t i = left; i <= right; ++i) row[i] = paint;
    for (int32_t ny = sy - 1; ny <= sy + 1 && ok; ny += 2) {
      if (ny < 0 || ny >= height) continue;
      const Pixel* next = pixels + static_cast<size_t>(ny) * static_cast<size_t>(width);
      for (int32_t i = left; i <= right; ++i) {
        if (next[i] != match || (i > left && next[i - 1] == match)) continue;
        if (count == capacity) {
          void* grown = seeds == onStack ? std::malloc(capacity * 4 * sizeof(int32_t))
                                         : std::realloc(seeds, capacity * 4 * sizeof(int32_t));
          if (!grown) {
            ok = false;
            break;
          }
          if (seeds == onStack) std::memcpy(grown, onStack, sizeof onStack);
          seeds = static_cast<int32_t*>(grown);
          capacity *= 2;
        }
        seeds[count * 2] = i;
        seeds[count * 2 + 1] = ny;
        ++count;
      }
    }
  }
  if (seeds != onStack) std::free(seeds);
  return ok;
}
