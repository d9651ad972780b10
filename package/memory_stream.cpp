#include <cstring>

#include "byte_stream.h"

namespace {

uint32_t ReadMemory(ByteStream* base, void* into, uint32_t count) {
  MemoryStream* stream = reinterpret_cast<MemoryStream*>(base);
  size_t left = stream->size - stream->position;
  if (count > left) count = static_cast<uint32_t>(left);
  if (count == 0) return 0;
  memcpy(into, stream->data + stream->position, count);
  stream->position += count;
  return count;
}

bool SkipMemory(ByteStream* base, uint32_t count) {
  MemoryStream* stream = reinterpret_cast<MemoryStream*>(base);
  size_t left = stream->size - stream->position;
  if (count > left) {
    stream->position = stream->size;
    return false;
  }
  stream->position += count;
  return true;
}

uint64_t MemoryLeft(ByteStream* base) {
  MemoryStream* stream = reinterpret_cast<MemoryStream*>(base);
  return stream->size - stream->position;
}

}  // namespace

void OpenMemoryStream(MemoryStream* stream, const uint8_t* data, size_t size) {
  stream->base.read = ReadMemory;
  stream->base.skip = SkipMemory;
  stream->base.left = MemoryLeft;
  // The caller's block may go before what was read from it does.
  stream->base.view = nullptr;
  stream->data = data;
  stream->size = data ? size : 0;
  stream->position = 0;
}
