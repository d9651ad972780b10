// A .bmp file whose pixels are a whole PNG or JPEG file (compression 5 or 4), as printers'
// drivers and some cameras write them. Such a bitmap goes to the picture decoders, which read
// PNG and JPEG for every other file too.
#pragma once
#include <cstddef>
#include <cstdint>

#include "source_bytes.h"
#include "picture_format.h"

struct WrappedPicture {
  PictureFormat format;  // PicturePng or PictureJpeg
  SourceBytes bytes;    // the stretch of the file it lies in
  int32_t width;         // as the bitmap's header states them
  int32_t height;
};

enum WrappedLookup { kNotWrapped, kWrapped, kWrappedDamaged };

// kWrapped with *picture filled; kNotWrapped for any other file; kWrappedDamaged, with a reason,
// for a bitmap that says it wraps a picture that is not within the file.
// Reads only the bitmap's headers and the first bytes of the picture they point to.
WrappedLookup FindWrappedPicture(const SourceBytes& file, WrappedPicture* picture, const char** why);
