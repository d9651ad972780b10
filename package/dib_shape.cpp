#include "dib_shape.h"

#include "size_limits.h"

const char* DibShapeProblem(int32_t width, int32_t height, uint16_t bitCount, uint32_t compression) {
  if (width <= 0 || height == 0) return "bitmap has no pixels (width or height 0 or negative)";
  if (width > kMaxBitmapSide || height > kMaxBitmapSide || height < -kMaxBitmapSide)
    return "bitmap dimensions above 16384 pixels on a side";
  uint64_t rows = static_cast<uint64_t>(height < 0 ? -static_cast<int64_t>(height) : height);
  if (static_cast<uint64_t>(width) * rows * 4 > kMaxBitmapBytes) return "bitmap would need more than 256 MiB";

  switch (compression) {
    case kBiRgb:
      if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return "unsupported bits per pixel";
      return nullptr;
    case kBiRle8:
    case kBiRle4:
      if (bitCount != (compression == kBiRle8 ? 8 : 4)) return "run-length compression does not match the bits per pixel";
      // Run-length data is always stored bottom-up.
      if (height < 0) return "compressed bitmap cannot be top-down";
      return nullptr;
    case kBiBitfields:
    case kBiAlphaBitfields:
      if (bitCount != 16 && bitCount != 32) return "bit-field masks need 16 or 32 bits per pixel";
      return nullptr;
    default:
      return "unsupported compression (JPEG, PNG or unknown)";
  }
}
