// A .bmp file whose pixels are a whole PNG or JPEG file (compression 5 or 4), as printers'
// drivers and some cameras write them. Such a bitmap goes to the picture decoders, which read
// PNG and JPEG for every other file too.
#pragma once
#include <cstddef>
#include <cstdint>

#include "picture_format.h"

struct WrappedPicture {
  PictureFormat format;  // PicturePng or PictureJpeg
  const uint8_t* data;   // inside the file's bytes
  size_t size;
  int32_t width;         // as the bitmap's header states them
  int32_t height;
};

enum WrappedLookup { kNotWrapped, kWrapped, kWrappedDamaged };

// kWrapped with *picture filled; kNotWrapped for any other file; kWrappedDamaged, with a reason,
// for a bitmap that says it wraps a picture that is not within the file.
WrappedLookup FindWrappedPicture(const uint8_t* file, size_t size, WrappedPicture* picture, const char** why);
