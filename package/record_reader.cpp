#include "record_reader.h"

#include <cstring>

#include "byte_order.h"

void OpenRecordReader(RecordReader* reader, ByteStream* stream) {
  reader->stream = stream;
  reader->ended = false;
}

bool ReadRecordBytes(RecordReader* reader, void* into, uint32_t count) {
  if (count == 0) return !reader->ended;
  uint32_t got = reader->ended ? 0 : reader->stream->read(reader->stream, into, count);
  if (got < count) {
    memset(static_cast<uint8_t*>(into) + got, 0, count - got);
    reader->ended = true;
  }
  return !reader->ended;
}

bool RecordBytesLeft(RecordReader* reader, uint64_t count) {
  if (!reader->ended && reader->stream->left(reader->stream) < count) {
    reader->ended = true;
    const uint64_t rest = reader->stream->left(reader->stream);
    reader->stream->skip(reader->stream, static_cast<uint32_t>(rest));
  }
  return !reader->ended;
}

bool SkipRecordBytes(RecordReader* reader, uint32_t count) {
  if (!reader->ended && count && !reader->stream->skip(reader->stream, count)) reader->ended = true;
  return !reader->ended;
}

uint8_t ReadRecordByte(RecordReader* reader) {
  uint8_t value;
  ReadRecordBytes(reader, &value, 1);
  return value;
}

int32_t ReadRecordInt(RecordReader* reader) {
  uint8_t bytes[4];
  ReadRecordBytes(reader, bytes, 4);
  return ReadI32LE(bytes);
}

uint32_t ReadMemoLine(RecordReader* reader, void* text, uint32_t capacity) {
  const uint32_t length = static_cast<uint32_t>(ReadRecordInt(reader));
  const uint32_t kept = length < capacity ? length : capacity;
  ReadRecordBytes(reader, text, kept);
  SkipRecordBytes(reader, length - kept);
  return length;
}

void ReadTimingFields(RecordReader* reader, TimingRecord* timing) {
  timing->redrawPeriod = ReadRecordInt(reader);
  timing->frameMultiplier = ReadRecordInt(reader);
  timing->transparent = ReadRecordByte(reader);
}

void ReadFrameSizes(RecordReader* reader, uint32_t* headerSize, uint32_t* bitsSize) {
  *headerSize = static_cast<uint32_t>(ReadRecordInt(reader));
  *bitsSize = static_cast<uint32_t>(ReadRecordInt(reader));
}

void ReadMotionFields(RecordReader* reader, MotionRecord* motion) {
  motion->speedX = ReadRecordInt(reader);
  motion->speedY = ReadRecordInt(reader);
  motion->speedDepth = ReadRecordInt(reader);
  motion->frameStep = ReadRecordInt(reader);
  motion->bounceX = ReadRecordByte(reader);
  motion->bounceY = ReadRecordByte(reader);
  motion->bounceDepth = ReadRecordByte(reader);
  motion->pingPong = ReadRecordByte(reader);
  motion->visibleRate = ReadRecordByte(reader);
}

void ReadBackgroundFields(RecordReader* reader, BackgroundRecord* background) {
  background->noColour = ReadRecordInt(reader);
  background->red = background->green = background->blue = 0;
  if (background->noColour == 0) {
    background->red = ReadRecordInt(reader);
    background->green = ReadRecordInt(reader);
    background->blue = ReadRecordInt(reader);
  }
  background->wallpaper = ReadRecordInt(reader);
  background->stretch = ReadRecordInt(reader);
}
