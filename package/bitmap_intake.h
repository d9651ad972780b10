// Turns a .bmp file, as real tools write them, into the one form a frame record holds: a 40-byte
// info header, its colour table and bottom-up pixel bits. Files already in that form pass
// unchanged; other header forms, bit-field masks and top-down rows are converted to a record
// that describes the same image. Anything else is refused with a reason.
#pragma once
#include <cstddef>
#include <cstdint>

#include "package_writer.h"

// Reads bytes at an offset of the file; returns how many it got (fewer at the end).
class BitmapSource {
 public:
  virtual size_t ReadAt(uint64_t offset, void* data, size_t size) = 0;

 protected:
  ~BitmapSource() {}
};

class MemoryBitmapSource : public BitmapSource {
 public:
  MemoryBitmapSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  size_t ReadAt(uint64_t offset, void* data, size_t size) override;

 private:
  const uint8_t* data_;
  size_t size_;
};

struct BitmapRecord {
  uint8_t infoHeader[40];
  uint8_t colours[4 * 256];
  uint32_t colourCount;
  uint8_t* bits;  // owned; ReleaseBitmapRecord frees it
  uint32_t bitsSize;
  // The file ended inside its pixel data; the missing bytes are zero. Set with a note, the
  // record is still whole.
  uint32_t missingBits;
};

// False, with a reason and nothing owned in *record, for a file that is not a bitmap, is cut
// short in its headers, uses a form no record can hold, or exceeds the size limits.
bool IntakeBitmap(BitmapSource* source, BitmapRecord* record, const char** why);

void ReleaseBitmapRecord(BitmapRecord* record);

// The record as the writer takes it.
FrameRecordParts BitmapRecordParts(const BitmapRecord& record);
