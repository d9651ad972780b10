#include "wrapped_bitmap_picture.h"

#include <cstdint>

#include "size_limits.h"
#include "byte_order.h"

namespace {

const uint32_t kBiJpeg = 4;
const uint32_t kBiPng = 5;
const size_t kHeadersEnd = 14 + 40;

}  // namespace

WrappedLookup FindWrappedPicture(const SourceBytes& whole, WrappedPicture* picture, const char** why) {
  uint8_t file[kHeadersEnd];
  const uint64_t size = whole.size;
  const bool headed = ReadSourceBytes(whole, 0, file, sizeof file) == sizeof file;
  if (!headed || SniffPictureFormat(file, sizeof file) != PictureBmp) return kNotWrapped;
  // The 12-byte header form has no compression field.
  if (ReadU32LE(file + 14) < kInfoHeaderSize) return kNotWrapped;
  const uint32_t compression = ReadU32LE(file + 30);
  if (compression != kBiJpeg && compression != kBiPng) return kNotWrapped;

  const uint32_t offset = ReadU32LE(file + 10);
  const uint32_t stated = ReadU32LE(file + 34);
  if (offset < kHeadersEnd || offset >= size) {
    *why = "the bitmap's embedded picture lies outside the file";
    return kWrappedDamaged;
  }
  picture->format = compression == kBiPng ? PicturePng : PictureJpeg;
  picture->bytes = whole;
  picture->bytes.offset = whole.offset + offset;
  // A size of 0, or one beyond the file, leaves the decoder to find the picture's end itself.
  picture->bytes.size = stated != 0 && stated <= size - offset ? stated : size - offset;
  picture->width = ReadI32LE(file + 18);
  const int32_t height = ReadI32LE(file + 22);
  // The most negative height has no positive twin; 0 then fails the size comparison.
  picture->height = height >= 0 ? height : (height == INT32_MIN ? 0 : -height);
  uint8_t head[kPictureFormatBytes];
  const size_t got = ReadSourceBytes(picture->bytes, 0, head, sizeof head);
  if (SniffPictureFormat(head, got) != picture->format) {
    *why = compression == kBiPng ? "the bitmap says it holds a PNG, but its pixel data is no PNG"
                                 : "the bitmap says it holds a JPEG, but its pixel data is no JPEG";
    return kWrappedDamaged;
  }
  return kWrapped;
}
