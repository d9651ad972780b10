// A frame record that carries the frame's own pixels with their alpha, for players that blend.
//
// The record stays a 24-bit bottom-up DIB whose rows hold what a reader without alpha must draw
// (the key-colour result of picture_transparency.h); after those rows its pixel bits go on with
// a four-byte mark and the frame's own pixels, blue, green, red and alpha (not premultiplied),
// in the same bottom-up row order, unpadded. The bits size (and biSizeImage) counts all of it.
// A drawing that knows only today's records reads no further than the rows it needs, so it draws
// what it always drew; the bitmap intake always sizes a 24-bit record's bits to exactly its
// rows, so no record made from a bitmap file can be taken for one of these.
#pragma once
#include <cstdint>

const uint8_t kOwnPixelsMark[4] = {'R', 'G', 'B', 'A'};

// Bytes of a 24-bit record's rows, and of its bits with the own pixels after them; 0 when the
// size does not fit 32 bits.
uint64_t KeyedRowBytes(int32_t width, int32_t height);
uint64_t OwnPixelsRecordBytes(int32_t width, int32_t height);

// The own pixels of a record (packed BITMAPINFO and bits), or null when it carries none: a
// 24-bit uncompressed record without colour table whose bits are exactly its rows, the mark and
// width * height four-byte pixels.
const uint8_t* FindOwnPixels(const uint8_t* header, uint32_t headerSize, const uint8_t* bits, uint32_t bitsSize);
