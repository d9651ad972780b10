// A picture's or a sound's file where it lies, read in pieces: the file on disk for the builder
// and the players, a block in memory for tests and fuzzers. No codec needs a whole file in
// memory, so a large PNG costs its decoding's rows and a long MP3 its decoder's state, not their
// size.
#pragma once
#include <cstddef>
#include <cstdint>

struct ByteSource {
  // Reads bytes at an offset of the file; returns how many it got (fewer at the end, or when
  // the file could not be read).
  size_t (*readAt)(ByteSource* source, uint64_t offset, void* data, size_t size);
};

struct SourceBytes;

class MemoryByteSource : public ByteSource {
 public:
  MemoryByteSource(const uint8_t* data, size_t size);
  // All of it as one stretch.
  SourceBytes Whole();

 private:
  static size_t ReadAt(ByteSource* source, uint64_t offset, void* data, size_t size);

  const uint8_t* data_;
  size_t size_;
};

// A stretch of a source: a whole file, or the PNG or JPEG a bitmap wraps.
struct SourceBytes {
  ByteSource* source;
  uint64_t offset;  // of the stretch in the source
  uint64_t size;
};

inline SourceBytes MemoryByteSource::Whole() {
  return SourceBytes{this, 0, size_};
}

// Bytes at `at` of the stretch, none beyond its end; how many were read.
size_t ReadSourceBytes(const SourceBytes& bytes, uint64_t at, void* data, size_t size);

// A stretch read from its start through a buffer, for the libraries that read a file forwards in
// small pieces.
const size_t kSourceReadBuffer = 64u << 10;

struct SourceByteReader {
  SourceBytes bytes;
  uint64_t taken;  // handed out so far
  size_t start;    // the buffer's bytes not yet handed out: start .. end
  size_t end;
  uint8_t buffer[kSourceReadBuffer];
};

void StartSourceByteReader(SourceByteReader* reader, const SourceBytes& bytes);
// The next bytes in order into data; how many (fewer only where the stretch ends or cannot be read).
size_t ReadSourceOn(SourceByteReader* reader, void* data, size_t size);
// The next bytes where they lie in the buffer, handed out: *count of them, none at the end.
const uint8_t* TakeSourceBytes(SourceByteReader* reader, size_t* count);
// Whether every byte of the stretch has been handed out.
inline bool SourceBytesEnded(const SourceByteReader& reader) {
  return reader.taken >= reader.bytes.size;
}
// Goes on from `at` of the stretch (at most its size), for the libraries that seek as they read:
// the buffer is kept when `at` lies in it.
void SeekSourceReader(SourceByteReader* reader, uint64_t at);

// Small headers at scattered offsets of a stretch (a RIFF file's chunk headers, a FLAC's
// metadata block headers), read through a window of a few KiB: headers close together cost one
// read, and a long chunk between two of them is passed over rather than read.
const size_t kSourceWindow = 4096;

struct SourceWindow {
  SourceBytes bytes;
  uint64_t start;  // of the window's bytes in the stretch
  size_t count;
  uint8_t window[kSourceWindow];
};

void StartSourceWindow(SourceWindow* window, const SourceBytes& bytes);
// The `size` bytes (at most kSourceWindow) at `at` of the stretch, or null when the stretch ends
// before them or they cannot be read.
const uint8_t* SourceBytesAt(SourceWindow* window, uint64_t at, size_t size);
