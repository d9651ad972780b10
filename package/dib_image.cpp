#include "dib_image.h"

#include <cstdlib>
#include <cstring>

#include "size_limits.h"
#include "dib_shape.h"
#include "byte_order.h"

namespace {

// Everything the pixel loops need, checked once so that they can index without further tests.
struct DibLayout {
  int32_t width;
  int32_t height;  // always positive; topDown says which way the rows run
  bool topDown;
  uint16_t bitCount;
  uint32_t compression;
  uint32_t masks[3];  // red, green, blue for 16 and 32 bits
  uint32_t palette[256];
};

uint32_t Colour(uint8_t red, uint8_t green, uint8_t blue) {
  return static_cast<uint32_t>(red) | (static_cast<uint32_t>(green) << 8) |
         (static_cast<uint32_t>(blue) << 16);
}

// One colour channel described by a bit-field mask. Narrow channels widen by repeating their
// bits (a 5-bit 31 becomes 255, 7 becomes 57), as the system's own conversions and the common
// image tools do; wide ones keep their top 8 bits.
struct MaskChannel {
  uint32_t mask;
  uint32_t shift;
  uint32_t bits;  // 0 for an empty mask: the channel is always 0
};

MaskChannel MakeChannel(uint32_t mask) {
  MaskChannel channel = {mask, 0, 0};
  if (mask == 0) return channel;
  while (((mask >> channel.shift) & 1) == 0) ++channel.shift;
  for (uint32_t top = mask >> channel.shift; top != 0; top >>= 1) ++channel.bits;
  return channel;
}

uint8_t ChannelValue(const MaskChannel& channel, uint32_t pixel) {
  if (channel.bits == 0) return 0;
  uint32_t value = (pixel & channel.mask) >> channel.shift;
  if (channel.bits >= 8) return static_cast<uint8_t>(value >> (channel.bits - 8));
  int shift = 8 - static_cast<int>(channel.bits);
  uint32_t widened = value << shift;
  while (shift > 0) {
    shift -= static_cast<int>(channel.bits);
    widened |= shift >= 0 ? value << shift : value >> -shift;
  }
  return static_cast<uint8_t>(widened);
}

bool Fail(const char** why, const char* reason) {
  if (why) *why = reason;
  return false;
}

bool ReadLayout(const uint8_t* header, size_t headerSize, DibLayout* layout, const char** why) {
  if (!header || headerSize < kInfoHeaderSize) return Fail(why, "info header shorter than 40 bytes");
  uint32_t infoSize = ReadU32LE(header);
  if (infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 && infoSize != 124)
    return Fail(why, "unsupported info header size");
  if (infoSize > headerSize) return Fail(why, "info header cut short");

  int32_t width = ReadI32LE(header + 4);
  int32_t height = ReadI32LE(header + 8);
  layout->bitCount = ReadU16LE(header + 14);
  layout->compression = ReadU32LE(header + 16);
  uint32_t clrUsed = ReadU32LE(header + 32);

  if (const char* problem = DibShapeProblem(width, height, layout->bitCount, layout->compression))
    return Fail(why, problem);
  layout->width = width;
  layout->topDown = height < 0;
  layout->height = height < 0 ? -height : height;
  const uint16_t bits = layout->bitCount;

  size_t tableOffset = infoSize;
  if (layout->compression == kBiBitfields || layout->compression == kBiAlphaBitfields) {
    // Headers of 52 bytes and more carry the masks themselves; a 40-byte one is followed by them.
    size_t maskOffset = 40;
    if (infoSize == 40) {
      size_t maskBytes = layout->compression == kBiAlphaBitfields ? 16 : 12;
      if (headerSize < 40 + maskBytes) return Fail(why, "bit-field masks missing");
      tableOffset += maskBytes;
    }
    for (int i = 0; i < 3; ++i) layout->masks[i] = ReadU32LE(header + maskOffset + 4 * i);
  } else if (bits == 16) {
    layout->masks[0] = 0x7C00;
    layout->masks[1] = 0x03E0;
    layout->masks[2] = 0x001F;
  } else {
    layout->masks[0] = 0x00FF0000;
    layout->masks[1] = 0x0000FF00;
    layout->masks[2] = 0x000000FF;
  }

  // Only indexed depths look colours up; entries the header promises but does not hold, and
  // indexes beyond the table, come out black.
  std::memset(layout->palette, 0, sizeof(layout->palette));
  if (bits <= 8) {
    uint32_t wanted = DibColourCount(clrUsed, bits);
    uint32_t limit = 1u << bits;
    if (wanted > limit) wanted = limit;
    size_t available = (headerSize - tableOffset) / 4;
    if (wanted > available) wanted = static_cast<uint32_t>(available);
    for (uint32_t k = 0; k < wanted; ++k) {
      const uint8_t* entry = header + tableOffset + 4 * k;
      layout->palette[k] = Colour(entry[2], entry[1], entry[0]);
    }
  }
  return true;
}

uint64_t RowStride(const DibLayout& layout) {
  return (static_cast<uint64_t>(layout.width) * layout.bitCount + 31) / 32 * 4;
}

uint32_t* RowStart(const DibLayout& layout, uint32_t* pixels, int32_t storedRow) {
  int32_t y = layout.topDown ? storedRow : layout.height - 1 - storedRow;
  return pixels + static_cast<size_t>(y) * static_cast<size_t>(layout.width);
}

void DecodeUncompressed(const DibLayout& layout, const uint8_t* bits, uint32_t* pixels) {
  size_t stride = static_cast<size_t>(RowStride(layout));
  MaskChannel red = MakeChannel(layout.masks[0]);
  MaskChannel green = MakeChannel(layout.masks[1]);
  MaskChannel blue = MakeChannel(layout.masks[2]);
  for (int32_t row = 0; row < layout.height; ++row) {
    const uint8_t* in = bits + static_cast<size_t>(row) * stride;
    uint32_t* out = RowStart(layout, pixels, row);
    for (int32_t x = 0; x < layout.width; ++x) {
      switch (layout.bitCount) {
        case 1:
          out[x] = layout.palette[(in[x >> 3] >> (7 - (x & 7))) & 1];
          break;
        case 4:
          out[x] = layout.palette[(in[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F];
          break;
        case 8:
          out[x] = layout.palette[in[x]];
          break;
        case 16: {
          uint32_t value = ReadU16LE(in + 2 * x);
          out[x] = Colour(ChannelValue(red, value), ChannelValue(green, value), ChannelValue(blue, value));
          break;
        }
        case 24:
          out[x] = Colour(in[3 * x + 2], in[3 * x + 1], in[3 * x]);
          break;
        default: {
          uint32_t value = ReadU32LE(in + 4 * x);
          out[x] = Colour(ChannelValue(red, value), ChannelValue(green, value), ChannelValue(blue, value));
          break;
        }
      }
    }
  }
}

// Run-length data as the published format defines it, one pixel index at a time to put(x, y),
// y counted from the bottom row. Damaged runs are clipped to the image, pixels that no run
// reaches are never put, and data that ends without its end mark simply ends; the damage found
// is returned (RunLengthDamage bits).
template <typename Put>
uint32_t WalkRunLength(const uint8_t* bits, size_t size, int32_t width, int32_t height, bool four, Put put) {
  uint32_t damage = 0;
  int32_t x = 0;
  int32_t y = 0;
  size_t pos = 0;
  bool ended = false;
  // Encoders that fill whole stored rows run into the row's padding; only beyond it is damage.
  const int32_t padded = static_cast<int32_t>(((static_cast<int64_t>(width) * (four ? 4 : 8) + 31) / 32 * 32) /
                                              (four ? 4 : 8));
  // Each pixel of a run, as long as it lies inside the picture.
  auto emit = [&](uint8_t index) {
    if (y >= height) {
      damage |= RunLengthPastEnd;
    } else if (x < width) {
      put(x++, y, index);
    } else if (x < padded) {
      ++x;
    } else {
      damage |= RunLengthPastEdge;
    }
  };
  while (pos + 2 <= size) {
    uint8_t count = bits[pos];
    uint8_t value = bits[pos + 1];
    pos += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) emit(four ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      ended = true;
      break;
    } else if (value == 2) {  // delta
      if (pos + 2 > size) break;
      int32_t dx = bits[pos];
      int32_t dy = bits[pos + 1];
      pos += 2;
      if (x + dx > padded) damage |= RunLengthPastEdge;
      x = (x + dx > padded) ? padded : x + dx;
      y += dy;
    } else {  // absolute run of `value` pixels, padded to a 16-bit boundary
      size_t dataBytes = four ? (value + 1u) / 2 : value;
      if (dataBytes > size - pos) damage |= RunLengthCutShort;
      size_t usable = dataBytes < size - pos ? dataBytes : size - pos;
      for (size_t i = 0; i < value; ++i) {
        size_t byte = four ? i / 2 : i;
        if (byte >= usable) break;
        emit(four ? ((i & 1) ? (bits[pos + byte] & 0x0F) : (bits[pos + byte] >> 4)) : bits[pos + byte]);
      }
      pos += dataBytes + (dataBytes & 1);
    }
    // Rows beyond the top take nothing more, but data that goes on there is damage.
    if (y > height || (y == height && x > 0)) damage |= RunLengthPastEnd;
  }
  if (!ended) damage |= RunLengthCutShort;
  return damage;
}

void DecodeRunLength(const DibLayout& layout, const uint8_t* bits, size_t size, uint32_t* pixels) {
  WalkRunLength(bits, size, layout.width, layout.height, layout.compression == kBiRle4,
                [&](int32_t x, int32_t y, uint8_t index) { RowStart(layout, pixels, y)[x] = layout.palette[index]; });
}

}  // namespace

uint32_t CheckRunLength(const uint8_t* bits, size_t size, int32_t width, int32_t height, bool four,
                        uint32_t* highestIndex) {
  uint32_t highest = 0;
  uint32_t damage = WalkRunLength(bits, size, width, height, four, [&](int32_t, int32_t, uint8_t index) {
    if (index > highest) highest = index;
  });
  if (highestIndex) *highestIndex = highest;
  return damage;
}

uint32_t DibColourCount(uint32_t clrUsed, uint16_t bitCount) {
  if (clrUsed != 0) return clrUsed;
  switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

bool DecodeDib(const uint8_t* header, size_t headerSize, const uint8_t* bits, size_t bitsSize,
               DibPixels* out, const char** why) {
  if (!out) return Fail(why, "no output");
  out->width = 0;
  out->height = 0;
  out->pixels = nullptr;

  DibLayout layout;
  if (!ReadLayout(header, headerSize, &layout, why)) return false;
  bool compressed = layout.compression == kBiRle8 || layout.compression == kBiRle4;
  if (!compressed) {
    uint64_t needed = RowStride(layout) * static_cast<uint64_t>(layout.height);
    if (needed > kMaxBitmapBytes) return Fail(why, "bitmap needs more than 256 MiB");
    if (!bits || bitsSize < needed) return Fail(why, "pixel bits shorter than the image");
  } else if (!bits && bitsSize > 0) {
    return Fail(why, "pixel bits missing");
  }

  size_t count = static_cast<size_t>(layout.width) * static_cast<size_t>(layout.height);
  uint32_t* pixels = static_cast<uint32_t*>(std::calloc(count, sizeof(uint32_t)));
  if (!pixels) return Fail(why, "not enough memory for the pixels");

  if (compressed) {
    DecodeRunLength(layout, bits, bitsSize, pixels);
  } else {
    DecodeUncompressed(layout, bits, pixels);
  }
  out->width = layout.width;
  out->height = layout.height;
  out->pixels = pixels;
  if (why) *why = nullptr;
  return true;
}

void ReleaseDibPixels(DibPixels* image) {
  if (!image) return;
  std::free(image->pixels);
  image->pixels = nullptr;
  image->width = 0;
  image->height = 0;
}
