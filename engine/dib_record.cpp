#include "dib_record.h"

#include "size_limits.h"
#include "byte_order.h"
#include "dib_image.h"
#include "dib_shape.h"
#include "own_pixels.h"
#include "surface.h"

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
  // The shape and the size caps are the intake's own, so that no record the builder writes is
  // refused here and no picture too large for the intake is drawn.
  if (DibShapeProblem(width, height, bitCount, compression)) return false;
  if (bitsSize > kMaxBitmapBytes) return false;
  const uint64_t rows = height < 0 ? -static_cast<int64_t>(height) : height;
  const uint64_t stride = ((static_cast<uint64_t>(width) * bitCount + 31) / 32) * 4;

  switch (compression) {
    case kBiRgb:
      return stride * rows <= bitsSize;
    case kBiBitfields:
      // The three channel masks follow the info header.
      if (headerSize < kInfoHeaderSize + 12) return false;
      return stride * rows <= bitsSize;
    case kBiRle8:
    case kBiRle4:
      // Run-length pictures are read no further than their image size.
      return imageSize != 0 && imageSize <= bitsSize;
    default:
      // Masks with alpha are a later header form's; no surface layer draws them from a record.
      return false;
  }
}

Surface* LoadRecordSurface(const Surface* reference, const uint8_t* header, uint32_t headerSize,
                           const uint8_t* bits, uint32_t bitsSize, bool frame) {
  if (!DibRecordFits(header, headerSize, bitsSize)) return nullptr;
  const uint8_t* own = frame ? FindOwnPixels(header, headerSize, bits, bitsSize) : nullptr;
  // A layer that cannot blend here (or has no memory for it) draws the key-colour rows instead.
  Surface* blended = own ? LoadOwnPixelsSurface(reference, ReadI32LE(header + 4), ReadI32LE(header + 8), own) : nullptr;
  if (blended) return blended;
  return LoadDibSurface(reference, header, headerSize, bits, bitsSize);
}

uint32_t DibRecordRowBytes(const uint8_t* header) {
  const uint32_t compression = ReadU32LE(header + 16);
  if (compression != kBiRgb && compression != kBiBitfields) return 0;
  return ((static_cast<uint32_t>(ReadI32LE(header + 4)) * ReadU16LE(header + 14) + 31) / 32) * 4;
}

Surface* LoadRecordRows(const Surface* reference, uint8_t* header, uint32_t headerSize, const uint8_t* rows,
                        int32_t count) {
  const uint32_t bytes = DibRecordRowBytes(header) * static_cast<uint32_t>(count);
  WriteU32LE(header + 8, static_cast<uint32_t>(ReadI32LE(header + 8) < 0 ? -count : count));
  WriteU32LE(header + 20, bytes);
  return LoadRecordSurface(reference, header, headerSize, rows, bytes, false);
}
