#include "frame_record.h"

#include <cstdlib>
#include <cstring>

#include "byte_order.h"

void ReleaseBitmapRecord(BitmapRecord* record) {
  std::free(record->bits);
  record->bits = nullptr;
  record->bitsSize = 0;
}

FrameRecordParts BitmapRecordParts(const BitmapRecord& record) {
  FrameRecordParts parts = {record.infoHeader, record.colours, record.colourCount, record.bits, record.bitsSize};
  return parts;
}

uint32_t PackBitmapInfo(const BitmapRecord& record, uint8_t* info) {
  std::memcpy(info, record.infoHeader, 40);
  std::memcpy(info + 40, record.colours, 4 * static_cast<size_t>(record.colourCount));
  return 40 + 4 * record.colourCount;
}

void SetRecordForm(BitmapRecord* record, int32_t width, int32_t height, uint16_t bitCount, uint32_t compression,
                   uint32_t coloursListed) {
  uint8_t* info = record->infoHeader;
  WriteU32LE(info, 40);
  WriteU32LE(info + 4, static_cast<uint32_t>(width));
  WriteU32LE(info + 8, static_cast<uint32_t>(height));
  WriteU16LE(info + 12, 1);
  WriteU16LE(info + 14, bitCount);
  WriteU32LE(info + 16, compression);
  WriteU32LE(info + 20, record->bitsSize);
  WriteU32LE(info + 32, coloursListed);
}
