#include "bitmap_intake.h"

#include <cstdlib>
#include <cstring>

#include "bitmap_limits.h"
#include "byte_order.h"
#include "dib_image.h"
#include "dib_shape.h"

namespace {

const size_t kFileHeaderSize = 14;
const size_t kCoreHeaderSize = 12;
// File header, the longest info header, masks and a full colour table all fit in here.
const size_t kHeadBytes = 2048;

// The info header in whichever of its forms the file used, widened to the 40-byte fields.
struct SourceHeader {
  uint32_t infoSize;
  int32_t width;
  int32_t height;
  uint16_t bitCount;
  uint32_t compression;
  uint32_t sizeImage;
  uint32_t clrUsed;
  uint32_t masks[3];
  size_t tableOffset;  // in the file
  size_t tableEntrySize;
  uint32_t tableCount;
  uint64_t bitsOffset;
  uint64_t bitsSize;
};

bool Refuse(const char** why, const char* reason) {
  *why = reason;
  return false;
}

bool IsKnownInfoSize(uint32_t size) {
  return size == kCoreHeaderSize || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool ReadSourceHeader(const uint8_t* head, size_t got, SourceHeader* h, const char** why) {
  if (got < 2 || head[0] != 'B' || head[1] != 'M') return Refuse(why, "not a bitmap file (no \"BM\" signature)");
  if (got < kFileHeaderSize + 4) return Refuse(why, "bitmap headers cut short");
  h->infoSize = ReadU32LE(head + kFileHeaderSize);
  if (!IsKnownInfoSize(h->infoSize))
    return Refuse(why, "unsupported info header size (not 12, 40, 52, 56, 108 or 124 bytes)");
  if (got < kFileHeaderSize + h->infoSize) return Refuse(why, "bitmap headers cut short");
  const uint8_t* info = head + kFileHeaderSize;

  std::memset(h->masks, 0, sizeof(h->masks));
  h->tableOffset = kFileHeaderSize + h->infoSize;
  if (h->infoSize == kCoreHeaderSize) {
    h->width = ReadU16LE(info + 4);
    h->height = ReadU16LE(info + 6);
    h->bitCount = ReadU16LE(info + 10);
    h->compression = kBiRgb;
    h->sizeImage = 0;
    h->clrUsed = 0;
    h->tableEntrySize = 3;
    if (h->bitCount != 1 && h->bitCount != 4 && h->bitCount != 8 && h->bitCount != 24)
      return Refuse(why, "unsupported bits per pixel");
  } else {
    h->width = ReadI32LE(info + 4);
    h->height = ReadI32LE(info + 8);
    h->bitCount = ReadU16LE(info + 14);
    h->compression = ReadU32LE(info + 16);
    h->sizeImage = ReadU32LE(info + 20);
    h->clrUsed = ReadU32LE(info + 32);
    h->tableEntrySize = 4;
    if (h->compression == kBiBitfields || h->compression == kBiAlphaBitfields) {
      size_t maskOffset = kFileHeaderSize + 40;
      if (h->infoSize == 40) h->tableOffset += h->compression == kBiAlphaBitfields ? 16 : 12;
      if (got < h->tableOffset) return Refuse(why, "bitmap headers cut short: bit-field masks missing");
      for (int i = 0; i < 3; ++i) h->masks[i] = ReadU32LE(head + maskOffset + 4 * i);
    }
  }

  if (const char* problem = DibShapeProblem(h->width, h->height, h->bitCount, h->compression))
    return Refuse(why, problem);
  uint16_t bits = h->bitCount;
  if ((h->compression == kBiRle8 || h->compression == kBiRle4) && h->sizeImage == 0)
    return Refuse(why, "compressed bitmap with a pixel data size (biSizeImage) of 0");

  // Indexed pictures need their table; others may carry an optional one, kept when it is sane.
  if (bits <= 8) {
    uint32_t full = 1u << bits;
    h->tableCount = (h->clrUsed == 0 || h->clrUsed > full) ? full : h->clrUsed;
  } else {
    h->tableCount = (h->compression == kBiRgb && h->clrUsed <= 256) ? h->clrUsed : 0;
  }
  size_t tableEnd = h->tableOffset + h->tableEntrySize * h->tableCount;

  // Pixels start where the file header says. Some writers store fewer colours than the header
  // implies and say so only through that offset; the table then ends there. Writers that leave
  // bfOffBits 0 or short of the headers get the reading that puts pixels right after the table.
  uint32_t declared = ReadU32LE(head + 10);
  if (bits <= 8 && declared >= h->tableOffset && declared < tableEnd) {
    h->tableCount = static_cast<uint32_t>((declared - h->tableOffset) / h->tableEntrySize);
    if (h->tableCount == 0) return Refuse(why, "indexed bitmap without a colour table");
    tableEnd = h->tableOffset + h->tableEntrySize * h->tableCount;
  }
  if (got < tableEnd) return Refuse(why, "bitmap headers cut short: colour table missing");
  h->bitsOffset = declared >= tableEnd ? declared : tableEnd;

  if (h->compression == kBiRle8 || h->compression == kBiRle4) {
    h->bitsSize = h->sizeImage;
  } else {
    uint64_t stride = (static_cast<uint64_t>(h->width) * bits + 31) / 32 * 4;
    h->bitsSize = stride * static_cast<uint64_t>(h->height < 0 ? -h->height : h->height);
  }
  if (h->bitsSize > kMaxBitmapBytes) return Refuse(why, "bitmap would need more than 256 MiB");
  return true;
}

bool IsPlainMask(const SourceHeader& h) {
  if (h.bitCount == 16) return h.masks[0] == 0x7C00 && h.masks[1] == 0x03E0 && h.masks[2] == 0x001F;
  return h.masks[0] == 0x00FF0000 && h.masks[1] == 0x0000FF00 && h.masks[2] == 0x000000FF;
}

void FlipRows(uint8_t* bits, uint64_t size, int32_t rows) {
  size_t stride = static_cast<size_t>(size / static_cast<uint64_t>(rows));
  uint8_t* top = bits;
  uint8_t* bottom = bits + stride * static_cast<size_t>(rows - 1);
  while (top < bottom) {
    for (size_t i = 0; i < stride; ++i) {
      uint8_t t = top[i];
      top[i] = bottom[i];
      bottom[i] = t;
    }
    top += stride;
    bottom -= stride;
  }
}

// Masks that BI_RGB cannot express: decode and store as 24-bit rows, bottom row first.
bool ConvertToRgb24(const uint8_t* head, size_t got, SourceHeader* h, BitmapRecord* record, const char** why) {
  DibPixels pixels;
  const char* reason = nullptr;
  if (!DecodeDib(head + kFileHeaderSize, got - kFileHeaderSize, record->bits, record->bitsSize, &pixels, &reason))
    return Refuse(why, reason);
  uint64_t stride = (static_cast<uint64_t>(pixels.width) * 24 + 31) / 32 * 4;
  uint64_t size = stride * static_cast<uint64_t>(pixels.height);
  uint8_t* converted = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(size), 1));
  if (!converted) {
    ReleaseDibPixels(&pixels);
    return Refuse(why, "not enough memory to convert the bitmap");
  }
  for (int32_t y = 0; y < pixels.height; ++y) {
    const uint32_t* in = pixels.pixels + static_cast<size_t>(y) * static_cast<size_t>(pixels.width);
    uint8_t* out = converted + static_cast<size_t>(pixels.height - 1 - y) * static_cast<size_t>(stride);
    for (int32_t x = 0; x < pixels.width; ++x) {
      out[3 * x] = static_cast<uint8_t>(in[x] >> 16);
      out[3 * x + 1] = static_cast<uint8_t>(in[x] >> 8);
      out[3 * x + 2] = static_cast<uint8_t>(in[x]);
    }
  }
  int32_t height = pixels.height;
  ReleaseDibPixels(&pixels);
  std::free(record->bits);
  record->bits = converted;
  record->bitsSize = static_cast<uint32_t>(size);
  h->bitCount = 24;
  h->compression = kBiRgb;
  h->height = height;
  h->tableCount = 0;
  return true;
}

}  // namespace

bool IntakeBitmap(BitmapSource* source, BitmapRecord* record, const char** why) {
  std::memset(record, 0, sizeof(*record));
  uint8_t head[kHeadBytes];
  size_t got = source->ReadAt(0, head, sizeof(head));
  SourceHeader h;
  if (!ReadSourceHeader(head, got, &h, why)) return false;

  record->bitsSize = static_cast<uint32_t>(h.bitsSize);
  record->bits = static_cast<uint8_t*>(std::calloc(h.bitsSize > 0 ? static_cast<size_t>(h.bitsSize) : 1, 1));
  if (!record->bits) return Refuse(why, "not enough memory for the pixel data");
  size_t read = source->ReadAt(h.bitsOffset, record->bits, record->bitsSize);
  record->missingBits = record->bitsSize - static_cast<uint32_t>(read);
  if (h.compression == kBiRle8 || h.compression == kBiRle4) {
    // Run-length data simply ends early: the record keeps what the file holds.
    record->bitsSize = static_cast<uint32_t>(read);
  }

  bool masked = h.compression == kBiBitfields || h.compression == kBiAlphaBitfields;
  if (masked && !IsPlainMask(h)) {
    if (!ConvertToRgb24(head, got, &h, record, why)) {
      ReleaseBitmapRecord(record);
      return false;
    }
  } else if (h.height < 0) {
    h.height = -h.height;
    FlipRows(record->bits, record->bitsSize, h.height);
  }

  // A 40-byte header is kept byte for byte apart from the fields that had to change; longer
  // ones start with the same 40-byte layout; the 12-byte form is rebuilt field by field.
  uint8_t* info = record->infoHeader;
  if (h.infoSize == kCoreHeaderSize) {
    WriteU16LE(info + 12, 1);
  } else {
    std::memcpy(info, head + kFileHeaderSize, 40);
  }
  WriteU32LE(info, 40);
  WriteU32LE(info + 4, static_cast<uint32_t>(h.width));
  WriteU32LE(info + 8, static_cast<uint32_t>(h.height));
  WriteU16LE(info + 14, h.bitCount);
  WriteU32LE(info + 16, masked ? kBiRgb : h.compression);
  WriteU32LE(info + 20, record->bitsSize);
  bool defaultTable = h.clrUsed == 0 && h.tableCount == DibColourCount(0, h.bitCount);
  WriteU32LE(info + 32, defaultTable ? 0 : h.tableCount);

  record->colourCount = DibColourCount(ReadU32LE(info + 32), h.bitCount);
  for (uint32_t k = 0; k < record->colourCount; ++k) {
    const uint8_t* entry = head + h.tableOffset + h.tableEntrySize * k;
    uint8_t* out = record->colours + 4 * k;
    out[0] = entry[0];
    out[1] = entry[1];
    out[2] = entry[2];
    out[3] = h.tableEntrySize == 4 ? entry[3] : 0;
  }
  return true;
}

namespace {

bool RecognisesBitmap(const PictureDecoder*, const uint8_t* head, size_t size) {
  return size >= 2 && head[0] == 'B' && head[1] == 'M';
}

bool DecodeBitmap(const PictureDecoder*, BitmapSource* source, BitmapRecord* record, const char** why) {
  return IntakeBitmap(source, record, why);
}

}  // namespace

const PictureDecoder kBitmapDecoder = {RecognisesBitmap, DecodeBitmap};
