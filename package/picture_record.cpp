#include "picture_record.h"

#include <cstdlib>
#include <cstring>

#include "size_limits.h"
#include "byte_order.h"
#include "own_pixels.h"
#include "picture_intake.h"

bool RgbaToRecord(const uint8_t* rgba, int32_t width, int32_t height, BitmapRecord* record,
                  const uint8_t* own) {
  std::memset(record, 0, sizeof *record);
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
  const size_t rowsSize = stride * static_cast<size_t>(height);
  const uint64_t ownSize = own ? OwnPixelsRecordBytes(width, height) : rowsSize;
  if (ownSize == 0 || ownSize > kMaxBitmapBytes) return false;
  const size_t size = static_cast<size_t>(ownSize);
  record->bits = static_cast<uint8_t*>(std::calloc(size, 1));
  if (!record->bits) return false;
  record->bitsSize = static_cast<uint32_t>(size);

  // DIB rows run from the bottom up, each pixel blue, green, red.
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* in = rgba + static_cast<size_t>(y) * static_cast<size_t>(width) * 4;
    uint8_t* out = record->bits + static_cast<size_t>(height - 1 - y) * stride;
    for (int32_t x = 0; x < width; ++x, in += 4, out += 3) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
    }
  }
  if (own) {
    uint8_t* out = record->bits + rowsSize;
    std::memcpy(out, kOwnPixelsMark, sizeof kOwnPixelsMark);
    out += sizeof kOwnPixelsMark;
    for (int32_t y = height - 1; y >= 0; --y) {
      const uint8_t* in = own + static_cast<size_t>(y) * static_cast<size_t>(width) * 4;
      // A clear pixel's colour never shows, and decoders differ in what they leave there: it is
      // stored as 0 so that every platform writes the same record.
      for (int32_t x = 0; x < width; ++x, in += 4, out += 4) {
        const bool clear = in[3] == 0;
        out[0] = clear ? 0 : in[2];
        out[1] = clear ? 0 : in[1];
        out[2] = clear ? 0 : in[0];
        out[3] = in[3];
      }
    }
  }

  SetRecordForm(record, width, height, 24, kBiRgb, 0);
  // Resolution, colours used and important stay 0: nothing reads them, and 0 keeps the bytes
  // free of anything but the pixels.
  record->colourCount = 0;
  return true;
}
