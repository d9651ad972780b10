// A forward-only source of bytes: the player's own file on Windows, a memory block in tests,
// tools and fuzzers. The package's record reader reads through it.
#pragma once
#include <cstddef>
#include <cstdint>

struct ByteStream {
  // Copies up to `count` bytes to `into`; answers how many there were.
  uint32_t (*read)(ByteStream* stream, void* into, uint32_t count);
  // Passes over `count` bytes; false when fewer remained.
  bool (*skip)(ByteStream* stream, uint32_t count);
  // How many bytes are still to come, so that a size read from the stream can be checked
  // against them before anything that size is allocated.
  uint64_t (*left)(ByteStream* stream);
  // The next `count` bytes where they lie in place and stay so until the program ends (a mapped
  // file), passed over; null, with nothing passed over, where they do not. May be null itself.
  // A large block taken this way costs no memory of the program's own.
  const uint8_t* (*view)(ByteStream* stream, uint32_t count);
};

struct MemoryStream {
  ByteStream base;
  const uint8_t* data;
  size_t size;
  size_t position;
};

void OpenMemoryStream(MemoryStream* stream, const uint8_t* data, size_t size);
