#include "picture_bytes.h"

#include <cstring>

MemoryPictureSource::MemoryPictureSource(const uint8_t* data, size_t size)
    : PictureSource{ReadAt}, data_(data), size_(size) {}

size_t MemoryPictureSource::ReadAt(PictureSource* source, uint64_t offset, void* data, size_t size) {
  MemoryPictureSource* self = static_cast<MemoryPictureSource*>(source);
  if (offset >= self->size_) return 0;
  const size_t available = self->size_ - static_cast<size_t>(offset);
  const size_t count = size < available ? size : available;
  std::memcpy(data, self->data_ + offset, count);
  return count;
}

size_t ReadPictureBytes(const PictureBytes& bytes, uint64_t at, void* data, size_t size) {
  if (at >= bytes.size) return 0;
  const uint64_t left = bytes.size - at;
  if (size > left) size = static_cast<size_t>(left);
  return bytes.source->readAt(bytes.source, bytes.offset + at, data, size);
}

void StartPictureByteReader(PictureByteReader* reader, const PictureBytes& bytes) {
  reader->bytes = bytes;
  reader->taken = 0;
  reader->start = reader->end = 0;
}

const uint8_t* TakePictureBytes(PictureByteReader* reader, size_t* count) {
  if (reader->start == reader->end) {
    reader->start = 0;
    // Where the buffer's bytes begin in the stretch: all handed out before them.
    reader->end = ReadPictureBytes(reader->bytes, reader->taken, reader->buffer, sizeof reader->buffer);
  }
  const uint8_t* bytes = reader->buffer + reader->start;
  *count = reader->end - reader->start;
  reader->taken += *count;
  reader->start = reader->end;
  return bytes;
}

size_t ReadPictureOn(PictureByteReader* reader, void* data, size_t size) {
  uint8_t* out = static_cast<uint8_t*>(data);
  size_t done = 0;
  while (done < size) {
    size_t count = reader->end - reader->start;
    if (count == 0) {
      reader->start = 0;
      reader->end = ReadPictureBytes(reader->bytes, reader->taken, reader->buffer, sizeof reader->buffer);
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
