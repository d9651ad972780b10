// The arithmetic both surface layers share for frames with their own alpha, so that the pixel
// buffers and GDI give the same pixels: colours premultiplied once at load, each drawn pixel
// sampled as a stretch samples it, and source-over in 8 bits.
#pragma once
#include <cstdint>

// One stored pixel (blue, green, red, alpha) premultiplied, as 0xAABBGGRR for the pixel buffers
// (bgrOrder false) or 0xAARRGGBB for a DIB section (bgrOrder true).
inline uint32_t PremultipliedPixel(const uint8_t* stored, bool bgrOrder) {
  const uint32_t a = stored[3];
  const uint32_t b = (stored[0] * a + 127) / 255, g = (stored[1] * a + 127) / 255, r = (stored[2] * a + 127) / 255;
  return (a << 24) | (bgrOrder ? (r << 16) | (g << 8) | b : (b << 16) | (g << 8) | r);
}

// The source column (or row) under the centre of destination column `offset` of a span of
// `destSize` taken from `sourceSize`: StretchSurface's sampling.
inline int32_t SampledSource(int64_t offset, int32_t destSize, int32_t sourceSize) {
  return static_cast<int32_t>(((2 * offset + 1) * sourceSize) / (2 * static_cast<int64_t>(destSize)));
}

// A premultiplied source pixel over a colour; the channel order is the same in both. Each
// channel is source + round(dest x (255 - alpha) / 255), red and blue side by side in one word:
// (x + 128 + ((x + 128) >> 8)) >> 8 is x / 255 rounded for every x up to 255 x 255.
inline uint32_t SourceOver(uint32_t source, uint32_t dest) {
  const uint32_t keep = 255 - (source >> 24);
  uint32_t redBlue = (dest & 0x00FF00FF) * keep + 0x00800080;
  redBlue = ((redBlue + ((redBlue >> 8) & 0x00FF00FF)) >> 8) & 0x00FF00FF;
  uint32_t green = (dest & 0x0000FF00) * keep + 0x00008000;
  green = ((green + ((green >> 8) & 0x0000FF00)) >> 8) & 0x0000FF00;
  return (source & 0x00FFFFFF) + redBlue + green;
}
