#include "picture_format.h"

#include <cstring>

#include "size_limits.h"
#include "dib_shape.h"

PictureFormat SniffPictureFormat(const uint8_t* head, size_t size) {
  static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (size >= 8 && std::memcmp(head, kPng, 8) == 0) return PicturePng;
  if (size >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) return PictureJpeg;
  if (size >= 6 && (std::memcmp(head, "GIF87a", 6) == 0 || std::memcmp(head, "GIF89a", 6) == 0)) return PictureGif;
  if (size >= 2 && head[0] == 'B' && head[1] == 'M') return PictureBmp;
  return PictureUnknown;
}

const char* PictureFormatName(PictureFormat format) {
  switch (format) {
    case PictureBmp: return "BMP";
    case PicturePng: return "PNG";
    case PictureJpeg: return "JPEG";
    case PictureGif: return "GIF";
    default: return "unknown";
  }
}

// Decoded pictures are held as 32-bit pixels, so the caps of a 32-bit bitmap are theirs.
const char* PictureSizeProblem(int64_t width, int64_t height) {
  if (width <= 0 || height <= 0) return "picture has no pixels (width or height 0)";
  if (width > kMaxBitmapSide || height > kMaxBitmapSide) return "picture dimensions above 16384 pixels on a side";
  return DibShapeProblem(static_cast<int32_t>(width), static_cast<int32_t>(height), 32, kBiRgb);
}
