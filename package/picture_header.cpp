#include "picture_header.h"

#include "byte_order.h"
#include "refusal.h"

namespace {

uint16_t ReadU16BE(const uint8_t* p) {
  return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

uint32_t ReadU32BE(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

bool Sized(int64_t w, int64_t h, int32_t* width, int32_t* height, const char** why) {
  if (const char* problem = PictureSizeProblem(w, h)) return Refuse(why, problem);
  *width = static_cast<int32_t>(w);
  *height = static_cast<int32_t>(h);
  return true;
}

// The signature, then IHDR first, as every PNG must start.
bool PngSize(const uint8_t* bytes, size_t size, int32_t* width, int32_t* height, const char** why) {
  if (size < 8 + 8 + 13) return Refuse(why, "PNG header cut short");
  if (ReadU32BE(bytes + 8) != 13 || ReadU32BE(bytes + 12) != 0x49484452u) return Refuse(why, "PNG does not start with its header chunk");
  return Sized(ReadU32BE(bytes + 16), ReadU32BE(bytes + 20), width, height, why);
}

bool IsFrameMarker(uint8_t marker) {
  // SOF0 to SOF15, apart from the Huffman table, extension and arithmetic conditioning markers.
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers are walked by their lengths up to the frame header.
bool JpegSize(const uint8_t* bytes, size_t size, int32_t* width, int32_t* height, const char** why) {
  size_t at = 2;
  for (;;) {
    while (at < size && bytes[at] != 0xFF) ++at;  // stray bytes between markers
    while (at < size && bytes[at] == 0xFF) ++at;  // fill bytes
    if (at >= size) return Refuse(why, "JPEG ends before its frame header");
    const uint8_t marker = bytes[at++];
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length follows
    if (marker == 0xD9 || marker == 0xDA) return Refuse(why, "JPEG has no frame header before its data");
    if (size - at < 2) return Refuse(why, "JPEG ends before its frame header");
    const uint16_t length = ReadU16BE(bytes + at);
    if (length < 2) return Refuse(why, "JPEG marker with a length below 2");
    if (IsFrameMarker(marker)) {
      if (length < 7 || size - at < 7) return Refuse(why, "JPEG frame header cut short");
      return Sized(ReadU16BE(bytes + at + 5), ReadU16BE(bytes + at + 3), width, height, why);
    }
    at += length;
  }
}

// Sub-blocks: a length byte and that many bytes, until a length of 0. False when cut short.
bool SkipSubBlocks(const uint8_t* bytes, size_t size, size_t* at) {
  while (*at < size) {
    const uint8_t length = bytes[(*at)++];
    if (length == 0) return true;
    if (size - *at < length) return false;
    *at += length;
  }
  return false;
}

size_t ColourTableBytes(uint8_t packed) {
  return (packed & 0x80) ? 3u * (2u << (packed & 7)) : 0;
}

// The logical screen, and every frame the file holds checked on the way, before a codec sees
// any of them; and where the walk stopped. What comes after damage is the codec's to report.
bool GifLayout(const uint8_t* bytes, size_t size, int32_t* width, int32_t* height, GifExtent* extent,
               const char** why, uint32_t frameCap) {
  *extent = GifExtent{0, 0, GifCutShort};
  if (size < 13) return Refuse(why, "GIF header cut short");
  if (!Sized(ReadU16LE(bytes + 6), ReadU16LE(bytes + 8), width, height, why)) return false;
  size_t at = 13 + ColourTableBytes(bytes[10]);
  if (at > size) return true;
  extent->wholeEnd = at;
  for (;;) {
    if (at >= size || extent->wholeFrames >= frameCap) {
      extent->ending = GifEndsWithoutTrailer;
      return true;
    }
    const uint8_t kind = bytes[at++];
    if (kind == 0x21) {
      if (at >= size) return true;
      ++at;  // the extension's label
      if (!SkipSubBlocks(bytes, size, &at)) return true;
    } else if (kind == 0x2C) {
      if (size - at < 9) return true;
      const uint16_t w = ReadU16LE(bytes + at + 4);
      const uint16_t h = ReadU16LE(bytes + at + 6);
      if (w > 0 && h > 0) {
        if (const char* problem = PictureSizeProblem(w, h)) return Refuse(why, problem);
      }
      const size_t table = ColourTableBytes(bytes[at + 8]);
      if (size - at - 9 <= table) return true;  // the code size is missing too
      at += 9 + table + 1;
      if (!SkipSubBlocks(bytes, size, &at)) return true;
      ++extent->wholeFrames;
      extent->wholeEnd = at;
    } else {
      extent->ending = kind == 0x3B ? GifEndsWithTrailer : GifUnknownRecord;
      return true;
    }
  }
}

}  // namespace

bool ReadPictureHeaderSize(PictureFormat format, const uint8_t* bytes, size_t size, int32_t* width, int32_t* height,
                           const char** why) {
  switch (format) {
    case PicturePng: return PngSize(bytes, size, width, height, why);
    case PictureJpeg: return JpegSize(bytes, size, width, height, why);
    case PictureGif: {
      GifExtent extent;
      return GifLayout(bytes, size, width, height, &extent, why, UINT32_MAX);
    }
    default: return Refuse(why, "not a PNG, JPEG or GIF picture");
  }
}

bool ReadGifExtent(const uint8_t* bytes, size_t size, GifExtent* extent, const char** why, uint32_t frameCap) {
  int32_t width = 0, height = 0;
  return GifLayout(bytes, size, &width, &height, extent, why, frameCap);
}

const char* GifEndingProblem(GifEnding ending) {
  switch (ending) {
    case GifCutShort: return kGifEndsEarly;
    case GifUnknownRecord: return kGifUnknownRecord;
    default: return nullptr;
  }
}

const char kGifEndsEarly[] = "GIF data ends early";
const char kGifUnknownRecord[] = "GIF holds a record of unknown kind";
const char kGifImageDamaged[] = "GIF image data is damaged";
