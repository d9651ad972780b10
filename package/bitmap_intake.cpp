#include "bitmap_intake.h"

#include <cstdlib>
#include <cstring>

#include "size_limits.h"
#include "byte_order.h"
#include "dib_image.h"
#include "dib_shape.h"
#include "refusal.h"

namespace {

const size_t kFileHeaderSize = 14;
const size_t kCoreHeaderSize = 12;
const size_t kOs2HeaderSize = 64;  // OS/2's second form, whose compression numbers are its own
const uint32_t kOs2Huffman = 3;
const uint32_t kOs2Rle24 = 4;
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
  uint16_t planes;
  bool twoBit;       // 2 bits per pixel, widened to 4 in the record
  uint32_t repairs;  // BitmapRepair bits found in the headers
};

bool IsKnownInfoSize(uint32_t size) {
  return size == kCoreHeaderSize || size == 40 || size == 52 || size == 56 || size == kOs2HeaderSize || size == 108 ||
         size == 124;
}

uint64_t Stride(int32_t width, uint16_t bits) { return (static_cast<uint64_t>(width) * bits + 31) / 32 * 4; }

bool ReadSourceHeader(const uint8_t* head, size_t got, SourceHeader* h, const char** why) {
  if (got < 2 || head[0] != 'B' || head[1] != 'M') return Refuse(why, "not a bitmap file (no \"BM\" signature)");
  if (got < kFileHeaderSize + 4) return Refuse(why, "bitmap headers cut short");
  h->infoSize = ReadU32LE(head + kFileHeaderSize);
  if (!IsKnownInfoSize(h->infoSize))
    return Refuse(why, "unsupported info header size (not 12, 40, 52, 56, 64, 108 or 124 bytes)");
  if (got < kFileHeaderSize + h->infoSize) return Refuse(why, "bitmap headers cut short");
  const uint8_t* info = head + kFileHeaderSize;

  std::memset(h->masks, 0, sizeof(h->masks));
  h->tableOffset = kFileHeaderSize + h->infoSize;
  h->repairs = 0;
  if (h->infoSize == kCoreHeaderSize) {
    h->width = ReadU16LE(info + 4);
    h->height = ReadU16LE(info + 6);
    h->planes = ReadU16LE(info + 8);
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
    h->planes = ReadU16LE(info + 12);
    h->bitCount = ReadU16LE(info + 14);
    h->compression = ReadU32LE(info + 16);
    h->sizeImage = ReadU32LE(info + 20);
    h->clrUsed = ReadU32LE(info + 32);
    h->tableEntrySize = 4;
    if (h->infoSize == kOs2HeaderSize && h->compression == kOs2Huffman)
      return Refuse(why, "OS/2 Huffman 1D compression is not supported");
    if (h->infoSize == kOs2HeaderSize && h->compression == kOs2Rle24)
      return Refuse(why, "OS/2 RLE24 compression is not supported");
    if (h->compression == kBiBitfields || h->compression == kBiAlphaBitfields) {
      size_t maskOffset = kFileHeaderSize + 40;
      if (h->infoSize == 40) h->tableOffset += h->compression == kBiAlphaBitfields ? 16 : 12;
      if (got < h->tableOffset) return Refuse(why, "bitmap headers cut short: bit-field masks missing");
      for (int i = 0; i < 3; ++i) h->masks[i] = ReadU32LE(head + maskOffset + 4 * i);
    }
  }

  if (h->planes != 1) h->repairs |= RepairPlanes;
  // Two bits per pixel become four in the record; the shape is that of the record.
  h->twoBit = h->bitCount == 2 && h->compression == kBiRgb;
  if (const char* problem = DibShapeProblem(h->width, h->height, h->twoBit ? 4 : h->bitCount, h->compression))
    return Refuse(why, problem);
  uint16_t bits = h->bitCount;
  if ((h->compression == kBiRle8 || h->compression == kBiRle4) && h->sizeImage == 0)
    return Refuse(why, "compressed bitmap with a pixel data size (biSizeImage) of 0");

  // Indexed pictures need their table; others may carry an optional one, kept when it is sane.
  if (bits <= 8) {
    uint32_t full = 1u << bits;
    h->tableCount = (h->clrUsed == 0 || h->clrUsed > full) ? full : h->clrUsed;
    if (h->clrUsed > full) h->repairs |= RepairPaletteSize;
  } else {
    h->tableCount = (h->compression == kBiRgb && h->clrUsed <= 256) ? h->clrUsed : 0;
    if (h->tableCount != h->clrUsed) h->repairs |= RepairPaletteSize;
  }
  size_t tableEnd = h->tableOffset + h->tableEntrySize * h->tableCount;

  // Pixels start where the file header says. Some writers store fewer colours than the header
  // implies and say so only through that offset; the table then ends there. Writers that leave
  // bfOffBits 0 or short of the headers get the reading that puts pixels right after the table.
  uint32_t declared = ReadU32LE(head + 10);
  if (declared >= h->tableOffset && declared < tableEnd) {
    // A high-colour picture's optional table that is not there is simply left out.
    h->tableCount = bits <= 8 ? static_cast<uint32_t>((declared - h->tableOffset) / h->tableEntrySize) : 0;
    if (bits <= 8 && h->tableCount == 0) return Refuse(why, "indexed bitmap without a colour table");
    tableEnd = h->tableOffset + h->tableEntrySize * h->tableCount;
    h->repairs |= RepairPaletteSize;
  }
  if (got < tableEnd) return Refuse(why, "bitmap headers cut short: colour table missing");
  h->bitsOffset = declared >= tableEnd ? declared : tableEnd;

  if (h->compression == kBiRle8 || h->compression == kBiRle4) {
    h->bitsSize = h->sizeImage;
  } else {
    h->bitsSize = Stride(h->width, bits) * static_cast<uint64_t>(h->height < 0 ? -h->height : h->height);
    if (h->sizeImage != 0 && h->sizeImage != h->bitsSize) h->repairs |= RepairImageSize;
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

// Pixels no record form can hold as they are (masks BI_RGB cannot express, damaged run-length
// data): decoded through the packed header `info` as every reader draws them, and stored as
// 24-bit rows, bottom row first.
bool ConvertToRgb24(const uint8_t* info, size_t infoSize, SourceHeader* h, BitmapRecord* record, const char** why) {
  DibPixels pixels;
  const char* reason = nullptr;
  if (!DecodeDib(info, infoSize, record->bits, record->bitsSize, &pixels, &reason)) return Refuse(why, reason);
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
  h->clrUsed = 0;
  return true;
}

// Two bits per pixel, as some handheld systems wrote them, widened to four: the same indexes in
// a form every reader draws.
bool WidenTwoBitRows(SourceHeader* h, BitmapRecord* record, const char** why) {
  const int32_t rows = h->height < 0 ? -h->height : h->height;
  const size_t inStride = static_cast<size_t>(Stride(h->width, 2));
  const size_t outStride = static_cast<size_t>(Stride(h->width, 4));
  uint8_t* widened = static_cast<uint8_t*>(std::calloc(outStride * static_cast<size_t>(rows), 1));
  if (!widened) return Refuse(why, "not enough memory to convert the bitmap");
  for (int32_t y = 0; y < rows; ++y) {
    const uint8_t* in = record->bits + static_cast<size_t>(y) * inStride;
    uint8_t* out = widened + static_cast<size_t>(y) * outStride;
    for (int32_t x = 0; x < h->width; ++x) {
      uint8_t index = (in[x >> 2] >> (6 - 2 * (x & 3))) & 3;
      out[x >> 1] |= static_cast<uint8_t>((x & 1) ? index : index << 4);
    }
  }
  std::free(record->bits);
  record->bits = widened;
  record->bitsSize = static_cast<uint32_t>(outStride * static_cast<size_t>(rows));
  h->bitCount = 4;
  h->twoBit = false;
  return true;
}

// The highest colour index the rows of an uncompressed indexed record use.
uint32_t HighestIndex(const BitmapRecord& record, int32_t width, int32_t height, uint16_t bits) {
  const size_t stride = static_cast<size_t>(Stride(width, bits));
  uint32_t highest = 0;
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* row = record.bits + static_cast<size_t>(y) * stride;
    for (int32_t x = 0; x < width; ++x) {
      uint32_t index = bits == 8 ? row[x] : bits == 4 ? (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F
                                                      : (row[x >> 3] >> (7 - (x & 7))) & 1;
      if (index > highest) highest = index;
    }
  }
  return highest;
}

// A file header size that is not the file's own: looked for by reading at its end.
bool FileSizeDisagrees(ByteSource* source, uint32_t declared) {
  if (declared == 0) return false;  // writers that leave it 0 state nothing
  uint8_t byte;
  return source->readAt(source, declared - 1, &byte, 1) != 1 || source->readAt(source, declared, &byte, 1) != 0;
}

// The record's header and colour table: a 40-byte header is kept byte for byte apart from the
// fields that had to change; longer ones start with the same 40-byte layout; the 12-byte form is
// rebuilt field by field.
void FormRecord(const uint8_t* head, const SourceHeader& h, bool masked, BitmapRecord* record) {
  uint8_t* info = record->infoHeader;
  if (h.infoSize != kCoreHeaderSize) std::memcpy(info, head + kFileHeaderSize, 40);
  bool defaultTable = h.clrUsed == 0 && h.tableCount == DibColourCount(0, h.bitCount);
  const uint32_t compression = masked ? kBiRgb : h.compression;
  SetRecordForm(record, h.width, h.height, h.bitCount, compression, defaultTable ? 0 : h.tableCount);

  record->colourCount = DibColourCount(ReadU32LE(info + 32), h.bitCount);
  for (uint32_t k = 0; k < record->colourCount; ++k) {
    const uint8_t* entry = head + h.tableOffset + h.tableEntrySize * k;
    uint8_t* out = record->colours + 4 * k;
    out[0] = entry[0];
    out[1] = entry[1];
    out[2] = entry[2];
    out[3] = h.tableEntrySize == 4 ? entry[3] : 0;
  }
}

// Whether the file holds the last byte of the pixel data.
bool HoldsAllBits(ByteSource* source, const SourceHeader& h) {
  uint8_t byte;
  return h.bitsSize == 0 || source->readAt(source, h.bitsOffset + h.bitsSize - 1, &byte, 1) == 1;
}

}  // namespace

bool IntakeBitmap(ByteSource* source, BitmapRecord* record, const char** why, BitmapRowsInFile* rowsInFile,
                  bool* rowsLeft) {
  std::memset(record, 0, sizeof(*record));
  if (rowsLeft) *rowsLeft = false;
  uint8_t head[kHeadBytes];
  size_t got = source->readAt(source, 0, head, sizeof(head));
  SourceHeader h;
  if (!ReadSourceHeader(head, got, &h, why)) return false;
  record->repairs = h.repairs;
  if (FileSizeDisagrees(source, ReadU32LE(head + 2))) record->repairs |= RepairFileSize;

  if (rowsInFile && h.bitCount == 24 && h.compression == kBiRgb && HoldsAllBits(source, h)) {
    const bool topDown = h.height < 0;
    if (topDown) h.height = -h.height;
    *rowsInFile = BitmapRowsInFile{h.bitsOffset, static_cast<uint32_t>(Stride(h.width, 24)), h.height, topDown};
    *rowsLeft = true;
    record->bitsSize = static_cast<uint32_t>(h.bitsSize);
    FormRecord(head, h, false, record);
    return true;
  }

  const bool runLength = h.compression == kBiRle8 || h.compression == kBiRle4;
  record->bitsSize = static_cast<uint32_t>(h.bitsSize);
  record->bits = static_cast<uint8_t*>(std::calloc(h.bitsSize > 0 ? static_cast<size_t>(h.bitsSize) : 1, 1));
  if (!record->bits) return Refuse(why, "not enough memory for the pixel data");
  size_t read = source->readAt(source, h.bitsOffset, record->bits, record->bitsSize);
  record->missingBits = record->bitsSize - static_cast<uint32_t>(read);
  if (record->missingBits > 0) record->repairs |= RepairPixelsCutShort;
  // Run-length data simply ends early: the record keeps what the file holds.
  if (runLength) record->bitsSize = static_cast<uint32_t>(read);

  bool masked = h.compression == kBiBitfields || h.compression == kBiAlphaBitfields;
  bool converted = h.twoBit ? WidenTwoBitRows(&h, record, why) : true;
  if (converted && masked && !IsPlainMask(h)) {
    converted = ConvertToRgb24(head + kFileHeaderSize, got - kFileHeaderSize, &h, record, why);
  } else if (converted && h.height < 0) {
    h.height = -h.height;
    FlipRows(record->bits, record->bitsSize, h.height);
  }
  if (!converted) {
    ReleaseBitmapRecord(record);
    return false;
  }

  FormRecord(head, h, masked, record);
  const uint32_t compression = masked ? kBiRgb : h.compression;

  // Damaged run-length data is stored as it is drawn, so that no reader has to clip it again.
  uint32_t highest = 0;
  if (runLength) {
    uint32_t damage = CheckRunLength(record->bits, record->bitsSize, h.width, h.height, h.compression == kBiRle4, &highest);
    if (damage & RunLengthPastEdge) record->repairs |= RepairRunsPastEdge;
    if (damage & RunLengthPastEnd) record->repairs |= RepairRunsPastEnd;
    if (damage & RunLengthCutShort) record->repairs |= RepairRunsCutShort;
    if (damage) {
      uint8_t packed[kMaxPackedInfoSize];
      if (!ConvertToRgb24(packed, PackBitmapInfo(*record, packed), &h, record, why)) {
        ReleaseBitmapRecord(record);
        return false;
      }
      SetRecordForm(record, h.width, h.height, 24, kBiRgb, 0);
      record->colourCount = 0;
    }
  } else if (h.bitCount <= 8) {
    highest = HighestIndex(*record, h.width, h.height, h.bitCount);
  }
  // Indexes past the table are drawn black; the table is filled up with black entries so that
  // it says so itself.
  if (h.bitCount <= 8 && record->colourCount > 0 && highest >= record->colourCount) {
    record->repairs |= RepairIndexesPastTable;
    std::memset(record->colours + 4 * record->colourCount, 0, 4 * ((1u << h.bitCount) - record->colourCount));
    record->colourCount = 1u << h.bitCount;
    SetRecordForm(record, h.width, h.height, h.bitCount, compression, 0);
  }
  return true;
}

const char* BitmapRepairText(uint32_t repair) {
  switch (repair) {
    case RepairPlanes:
      return "the planes count was not 1; stored as 1";
    case RepairFileSize:
      return "the file size in its header disagrees with the file; the data as found is used";
    case RepairPaletteSize:
      return "the colour count disagrees with the colour table the file holds; the table as found is used";
    case RepairImageSize:
      return "the image size in its header disagrees with the pixel data; corrected";
    case RepairIndexesPastTable:
      return "pixels use colour indexes past the colour table; those draw black and the table is filled up with black";
    case RepairRunsPastEdge:
      return "run-length runs past the right edge of the picture; stored uncompressed as drawn";
    case RepairRunsPastEnd:
      return "run-length data goes on past the last row of the picture; stored uncompressed as drawn";
    case RepairRunsCutShort:
      return "run-length data ends without its end mark; stored uncompressed as drawn";
    case RepairPixelsCutShort:
      return "file ends inside its pixel data; the missing bytes are written as zeros";
    default:
      return "repaired";
  }
}
