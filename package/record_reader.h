// Reading a scene package's records from a forward-only stream: the one place that knows their
// layout on the way in. The bounds are the stream's: a read past its end gives zeros and marks
// the reader ended, and every read after that gives zeros too, so a caller may read a whole
// record and then ask once whether it was all there. The strict package reader of the tools and
// fuzzers, the player's scene source and the player's information dialog are layers on it.
#pragma once
#include <cstdint>

#include "byte_stream.h"
#include "package_records.h"

struct RecordReader {
  ByteStream* stream;
  bool ended;  // the stream ran out
};

void OpenRecordReader(RecordReader* reader, ByteStream* stream);

// count bytes into `into`, zeros for any the stream did not have; false when it ran out.
bool ReadRecordBytes(RecordReader* reader, void* into, uint32_t count);
// Whether count more bytes are still to come; when not, the reader has ended (the rest is
// passed over), so that a size field is never believed beyond the bytes that are there.
bool RecordBytesLeft(RecordReader* reader, uint64_t count);
// Passes over count bytes; false when the stream ran out.
bool SkipRecordBytes(RecordReader* reader, uint32_t count);
uint8_t ReadRecordByte(RecordReader* reader);
int32_t ReadRecordInt(RecordReader* reader);

// One memo line: its stored length is returned; text gets the first min(length, capacity) bytes
// and the rest is passed over, so that the next line starts where it should.
uint32_t ReadMemoLine(RecordReader* reader, void* text, uint32_t capacity);

// The fields that follow each record's tag.
void ReadTimingFields(RecordReader* reader, TimingRecord* timing);
// A frame record's two block sizes; the info header and colour table, then the pixel bits follow.
void ReadFrameSizes(RecordReader* reader, uint32_t* headerSize, uint32_t* bitsSize);
void ReadMotionFields(RecordReader* reader, MotionRecord* motion);
// The colour fields are stored only when noColour is 0; otherwise they read as 0.
void ReadBackgroundFields(RecordReader* reader, BackgroundRecord* background);
