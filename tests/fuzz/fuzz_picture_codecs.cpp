// Any bytes as a picture file through the Linux decoders and the builder's conversion: the file
// is refused with a reason, or gives frames whose records pass the shape check and decode. The
// header reading that guards the Windows codec sees the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>

#include "byte_order.h"
#include "dib_image.h"
#include "dib_shape.h"
#include "fuzz_frames.h"
#include "library_picture_codec.h"
#include "picture_frames.h"
#include "picture_intake.h"
#include "picture_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* why = nullptr;
  for (PictureFormat format : {PicturePng, PictureJpeg, PictureGif}) {
    int32_t width = 0, height = 0;
    if (ReadPictureHeaderSize(format, data, size, &width, &height, &why) && PictureSizeProblem(width, height))
      std::abort();
  }

  LibraryPictureCodec decoder;
  OpenLibraryPictureCodec(&decoder);
  PictureFrames frames;
  MemoryByteSource file(data, size);
  if (OpenPictureFrames(&frames, &decoder.base, file.Whole(), &why)) {
    CheckEachFrame(&frames, NextPictureRecord, &why, [&](const BitmapRecord& record) {
      const uint8_t* info = record.infoHeader;
      if (DibShapeProblem(ReadI32LE(info + 4), ReadI32LE(info + 8), ReadU16LE(info + 14), ReadU32LE(info + 16)))
        std::abort();
      DibPixels pixels;
      if (!DecodeDib(record.infoHeader, 40, record.bits, record.bitsSize, &pixels, &why)) std::abort();
      if (pixels.width != frames.width || pixels.height != frames.height) std::abort();
      ReleaseDibPixels(&pixels);
    });
  } else if (!why) {
    std::abort();
  }
  ClosePictureFrames(&frames);
  return 0;
}
