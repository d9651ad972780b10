// Writing the records of a scene package in their order. The writer only encodes; where the
// bytes go, and what a failed write means, is the sink's business.
#pragma once
#include <cstddef>
#include <cstdint>

#include "package_records.h"

struct ByteSink {
  // Returns the number of bytes actually stored.
  size_t (*write)(ByteSink* sink, const void* data, size_t size);
};

// The parts of one frame record: a 40-byte BITMAPINFOHEADER whose biClrUsed/biBitCount give
// colourCount entries and whose biSizeImage is bitsSize, the RGBQUAD table and the pixel bits.
struct FrameRecordParts {
  const uint8_t* infoHeader;  // 40 bytes
  const uint8_t* colours;     // 4 * colourCount bytes
  uint32_t colourCount;
  const uint8_t* bits;
  uint32_t bitsSize;
};

// Each returns true when the sink stored every byte.
bool WriteMemoLine(ByteSink* sink, const char* text, uint32_t length);
bool WriteTimingRecord(ByteSink* sink, const TimingRecord& timing);
bool WriteFrameRecord(ByteSink* sink, const FrameRecordParts& frame);
bool WriteMotionRecord(ByteSink* sink, const MotionRecord& motion);
// Only the record itself; a wallpaper frame record, when its flag is set, is the caller's to add.
bool WriteBackgroundRecord(ByteSink* sink, const BackgroundRecord& background);
// The tag and the length; the wave bytes follow through the same sink.
bool WriteSoundHeader(ByteSink* sink, uint32_t length);
