// A frame record as the builder makes it and the players draw it: the 40-byte info header of a
// DIB, its colour table and its bottom-up pixel bits. This file owns the layout: the one place
// that writes an info header's fields, and the record's parts as the writer and the surface
// layers take them.
#pragma once
#include <cstdint>

#include "package_writer.h"

struct BitmapRecord {
  uint8_t infoHeader[40];
  uint8_t colours[4 * 256];
  uint32_t colourCount;
  uint8_t* bits;  // owned; ReleaseBitmapRecord frees it
  uint32_t bitsSize;
  // The file ended inside its pixel data; the missing bytes are zero. Set with a note, the
  // record is still whole.
  uint32_t missingBits;
  // BitmapRepair bits (bitmap_intake.h): what was put right on the way in; each is reported.
  uint32_t repairs;
  // OwnTransparency (picture_transparency.h) of a decoded character frame: whether the picture
  // itself makes some of it transparent, so that it is drawn so whatever the scene's setting.
  uint8_t ownTransparency;
};

void ReleaseBitmapRecord(BitmapRecord* record);

// The record as the writer takes it.
FrameRecordParts BitmapRecordParts(const BitmapRecord& record);

// The packed BITMAPINFO of the record (info header, then colour table) as the surface layers
// take it; returns its size. info holds at least kMaxPackedInfoSize bytes.
const uint32_t kMaxPackedInfoSize = 40 + 4 * 256;
uint32_t PackBitmapInfo(const BitmapRecord& record, uint8_t* info);

// The header's form: 40 bytes, one plane, the size of the bits, the colours it lists (0: as
// many as the depth has). Width, height, depth and compression as given; the resolution and
// the count of important colours stay as they are.
void SetRecordForm(BitmapRecord* record, int32_t width, int32_t height, uint16_t bitCount, uint32_t compression,
                   uint32_t coloursListed);
