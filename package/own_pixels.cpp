#include "own_pixels.h"

#include <cstring>

#include "byte_order.h"
#include "size_limits.h"

uint64_t KeyedRowBytes(int32_t width, int32_t height) {
  if (width <= 0 || height == 0) return 0;
  const uint64_t rows = height < 0 ? -static_cast<int64_t>(height) : height;
  return ((static_cast<uint64_t>(width) * 3 + 3) & ~static_cast<uint64_t>(3)) * rows;
}

uint64_t OwnPixelsRecordBytes(int32_t width, int32_t height) {
  const uint64_t rows = KeyedRowBytes(width, height);
  if (rows == 0 || height < 0) return 0;
  const uint64_t total = rows + sizeof kOwnPixelsMark + 4ull * static_cast<uint64_t>(width) * height;
  return total <= 0xFFFFFFFFull ? total : 0;
}

const uint8_t* FindOwnPixels(const uint8_t* header, uint32_t headerSize, const uint8_t* bits, uint32_t bitsSize) {
  if (headerSize != kInfoHeaderSize || ReadU16LE(header + 14) != 24 || ReadU32LE(header + 16) != kBiRgb ||
      ReadU32LE(header + 32) != 0)
    return nullptr;
  const int32_t width = ReadI32LE(header + 4);
  const int32_t height = ReadI32LE(header + 8);
  const uint64_t total = OwnPixelsRecordBytes(width, height);
  if (total == 0 || total != bitsSize) return nullptr;
  const uint8_t* mark = bits + KeyedRowBytes(width, height);
  if (std::memcmp(mark, kOwnPixelsMark, sizeof kOwnPixelsMark) != 0) return nullptr;
  return mark + sizeof kOwnPixelsMark;
}
