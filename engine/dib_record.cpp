#include "dib_record.h"

#include "bitmap_limits.h"
#include "byte_order.h"
#include "dib_image.h"

bool DibRecordFits(const uint8_t* header, uint32_t headerSize, uint32_t bitsSize) {
  if (headerSize < kInfoHeaderSize) return false;
  const uint32_t infoSize = ReadU32LE(header);
  const int32_t width = ReadI32LE(header + 4);
  const int32_t height = ReadI32LE(header + 8);
  const uint16_t bitCount = ReadU16LE(header + 14);
  const uint32_t compression = ReadU32LE(header + 16);
  const uint32_t imageSize = ReadU32LE(header + 20);
  const uint32_t clrUsed = ReadU32LE(header + 32);

  // A later header form would make the drawing side look for its colour table beyond the block.
  if (infoSize != kInfoHeaderSize) return false;
  if (headerSize != kInfoHeaderSize + 4ull * DibColourCount(clrUsed, bitCount)) return false;
  if (width <= 0 || width > kMaxBitmapSide) return false;
  if (height == 0 || height < -kMaxBitmapSide || height > kMaxBitmapSide) return false;
  if (bitsSize > kMaxBitmapBytes) return false;
  const uint64_t rows = height < 0 ? -static_cast<int64_t>(height) : height;
  const uint64_t stride = ((static_cast<uint64_t>(width) * bitCount + 31) / 32) * 4;

  switch (compression) {
    case kBiRgb:
      if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
          bitCount != 32)
        return false;
      return stride * rows <= bitsSize;
    case kBiBitfields:
      // The three channel masks follow the info header.
      if ((bitCount != 16 && bitCount != 32) || headerSize < kInfoHeaderSize + 12) return false;
      return stride * rows <= bitsSize;
    case kBiRle8:
    case kBiRle4:
      // Run-length pictures are bottom-up only, and are read no further than their image size.
      if (bitCount != (compression == kBiRle8 ? 8 : 4) || height < 0) return false;
      return imageSize != 0 && imageSize <= bitsSize;
    default:
      return false;
  }
}
