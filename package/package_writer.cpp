#include "package_writer.h"

#include <cstring>

#include "byte_order.h"

namespace {

bool Put(ByteSink* sink, const void* data, size_t size) {
  return size == 0 || sink->write(sink, data, size) == size;
}

}  // namespace

bool WriteMemoLine(ByteSink* sink, const char* text, uint32_t length) {
  uint8_t prefix[4];
  WriteU32LE(prefix, length);
  bool ok = Put(sink, prefix, sizeof(prefix));
  return Put(sink, text, length) && ok;
}

bool WriteTimingRecord(ByteSink* sink, const TimingRecord& timing) {
  uint8_t record[kTimingRecordSize];
  record[0] = kTimingTag;
  WriteU32LE(record + 1, static_cast<uint32_t>(timing.redrawPeriod));
  WriteU32LE(record + 5, static_cast<uint32_t>(timing.frameMultiplier));
  record[9] = timing.transparent;
  return Put(sink, record, sizeof(record));
}

bool WriteFrameRecord(ByteSink* sink, const FrameRecordParts& frame) {
  // Tag, sizes and info header go out as one write: most frames are then three writes.
  uint8_t head[kFramePrefixSize + 40];
  head[0] = kFrameTag;
  WriteU32LE(head + 1, 40 + 4 * frame.colourCount);
  WriteU32LE(head + 5, frame.bitsSize);
  std::memcpy(head + kFramePrefixSize, frame.infoHeader, 40);
  bool ok = Put(sink, head, sizeof(head));
  ok = Put(sink, frame.colours, 4 * static_cast<size_t>(frame.colourCount)) && ok;
  return Put(sink, frame.bits, frame.bitsSize) && ok;
}

bool WriteMotionRecord(ByteSink* sink, const MotionRecord& motion) {
  uint8_t record[kMotionRecordSize];
  record[0] = kMotionTag;
  WriteU32LE(record + 1, static_cast<uint32_t>(motion.speedX));
  WriteU32LE(record + 5, static_cast<uint32_t>(motion.speedY));
  WriteU32LE(record + 9, static_cast<uint32_t>(motion.speedDepth));
  WriteU32LE(record + 13, static_cast<uint32_t>(motion.frameStep));
  record[17] = motion.bounceX;
  record[18] = motion.bounceY;
  record[19] = motion.bounceDepth;
  record[20] = motion.pingPong;
  record[21] = motion.visibleRate;
  return Put(sink, record, sizeof(record));
}

bool WriteBackgroundRecord(ByteSink* sink, const BackgroundRecord& background) {
  uint8_t record[kMaxBackgroundRecordSize];
  size_t size = 0;
  record[size++] = kBackgroundTag;
  WriteU32LE(record + size, static_cast<uint32_t>(background.noColour));
  size += 4;
  if (background.noColour == 0) {
    const int32_t colour[3] = {background.red, background.green, background.blue};
    for (int32_t value : colour) {
      WriteU32LE(record + size, static_cast<uint32_t>(value));
      size += 4;
    }
  }
  WriteU32LE(record + size, static_cast<uint32_t>(background.wallpaper));
  WriteU32LE(record + size + 4, static_cast<uint32_t>(background.stretch));
  size += 8;
  return Put(sink, record, size);
}

bool WriteSoundHeader(ByteSink* sink, uint32_t length) {
  uint8_t record[5];
  record[0] = kSoundTag;
  WriteU32LE(record + 1, length);
  return Put(sink, record, sizeof(record));
}
