// Decoding of the bitmap that a frame record holds (a 40-byte BITMAPINFOHEADER, its colour table
// and the pixel bits) into plain 32-bit pixels. Shared by the software surface layer and the
// builder's bitmap intake; never reads outside the bytes it is given.
#pragma once
#include <cstddef>
#include <cstdint>

struct DibPixels {
  int32_t width = 0;
  int32_t height = 0;
  // width * height colours 0x00BBGGRR, top row first; owned, released by ReleaseDibPixels.
  uint32_t* pixels = nullptr;
};

// Decodes a packed BITMAPINFO (header + colour table, headerSize bytes) and its pixel bits.
// Handles 1, 4 and 8 bits with palettes, RLE4, RLE8, 16, 24 and 32 bits (BI_RGB and
// BI_BITFIELDS), bottom-up and top-down. Returns false, with a reason in *why, for anything
// it cannot decode safely; out is then empty.
bool DecodeDib(const uint8_t* header, size_t headerSize, const uint8_t* bits, size_t bitsSize,
               DibPixels* out, const char** why);

void ReleaseDibPixels(DibPixels* image);

// What a walk through run-length data finds wrong with it.
enum RunLengthDamage {
  RunLengthPastEdge = 1,  // runs or moves past the right edge of the picture
  RunLengthPastEnd = 2,   // data goes on beyond the last row
  RunLengthCutShort = 4   // the data ends without its end mark, or inside an absolute run
};

// Walks RLE8 (or RLE4 when four) data of a width x height picture as DecodeDib draws it: returns
// the RunLengthDamage bits found, and the highest colour index the drawn pixels use.
uint32_t CheckRunLength(const uint8_t* bits, size_t size, int32_t width, int32_t height, bool four,
                        uint32_t* highestIndex);

// Colour-table entries a record holds: biClrUsed when not 0, else 2, 16 or 256 for 1, 4 or
// 8 bits per pixel, and 0 for every other depth.
uint32_t DibColourCount(uint32_t clrUsed, uint16_t bitCount);
