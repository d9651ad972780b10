#include "source_bytes.h"

#include <cstring>

MemoryByteSource::MemoryByteSource(const uint8_t* data, size_t size)
    : ByteSource{ReadAt}, data_(data), size_(size) {}

size_t MemoryByteSource::ReadAt(ByteSource* source, uint64_t offset, void* data, size_t size) {
  MemoryByteSource* self = static_cast<MemoryByteSource*>(source);
  if (offset >= self->size_) return 0;
  const size_t available = self->size_ - static_cast<size_t>(offset);
  const size_t count = size < available ? size : available;
  std::memcpy(data, self->data_ + offset, count);
  return count;
}

size_t ReadSourceBytes(const SourceBytes& bytes, uint64_t at, void* data, size_t size) {
  if (at >= bytes.size) return 0;
  const uint64_t left = bytes.size - at;
  if (size > left) size = static_cast<size_t>(left);
  return bytes.source->readAt(bytes.source, bytes.offset + at, data, size);
}

void StartSourceByteReader(SourceByteReader* reader, const SourceBytes& bytes) {
  reader->bytes = bytes;
  reader->taken = 0;
  reader->start = reader->end = 0;
}

const uint8_t* TakeSourceBytes(SourceByteReader* reader, size_t* count) {
  if (reader->start == reader->end) {
    reader->start = 0;
    // Where the buffer's bytes begin in the stretch: all handed out before them.
    reader->end = ReadSourceBytes(reader->bytes, reader->taken, reader->buffer, sizeof reader->buffer);
  }
  const uint8_t* bytes = reader->buffer + reader->start;
  *count = reader->end - reader->start;
  reader->taken += *count;
  reader->start = reader->end;
  return bytes;
}

size_t ReadSourceOn(SourceByteReader* reader, void* data, size_t size) {
  uint8_t* out = static_cast<uint8_t*>(data);
  size_t done = 0;
  while (done < size) {
    size_t count = reader->end - reader->start;
    if (count == 0) {
      reader->start = 0;
      reader->end = ReadSourceBytes(reader->bytes, reader->taken, reader->buffer, sizeof reader->buffer);
      count = reader->end;
      if (count == 0) break;
    }
    if (count > size - done) count = size - done;
    std::memcpy(out + done, reader->buffer + reader->start, count);
    reader->start += count;
    reader->taken += count;
    done += count;
  }
  return done;
}

void SeekSourceReader(SourceByteReader* reader, uint64_t at) {
  // The buffer holds the stretch from taken - start up to taken - start + end.
  const uint64_t first = reader->taken - reader->start;
  if (at >= first && at - first <= reader->end) {
    reader->start = static_cast<size_t>(at - first);
  } else {
    reader->start = reader->end = 0;
  }
  reader->taken = at;
}

void StartSourceWindow(SourceWindow* window, const SourceBytes& bytes) {
  window->bytes = bytes;
  window->start = 0;
  window->count = 0;
}

const uint8_t* SourceBytesAt(SourceWindow* window, uint64_t at, size_t size) {
  if (size > sizeof window->window) return nullptr;
  if (at < window->start || at - window->start > window->count || window->count - (at - window->start) < size) {
    window->start = at;
    window->count = ReadSourceBytes(window->bytes, at, window->window, sizeof window->window);
  }
  if (window->count - (at - window->start) < size) return nullptr;
  return window->window + (at - window->start);
}
