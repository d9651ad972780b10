#include "mapped_saver.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

SaverFileStream* Self(ByteStream* stream) {
  return reinterpret_cast<SaverFileStream*>(stream);
}

uint32_t ReadSaver(ByteStream* base, void* into, uint32_t count) {
  SaverFileStream* stream = Self(base);
  if (count > stream->end - stream->position) count = static_cast<uint32_t>(stream->end - stream->position);
  uint32_t done = 0;
  while (done < count) {
    const ssize_t got = pread(stream->descriptor, static_cast<uint8_t*>(into) + done, count - done,
                              static_cast<off_t>(stream->position));
    if (got < 0 && errno == EINTR) continue;
    // A file cut short under us reads as the end of the package, as a short file would.
    if (got <= 0) {
      stream->end = stream->position;
      break;
    }
    done += static_cast<uint32_t>(got);
    stream->position += static_cast<uint64_t>(got);
  }
  return done;
}

bool SkipSaver(ByteStream* base, uint32_t count) {
  SaverFileStream* stream = Self(base);
  if (count > stream->end - stream->position) {
    stream->position = stream->end;
    return false;
  }
  stream->position += count;
  return true;
}

uint64_t SaverLeft(ByteStream* base) {
  return Self(base)->end - Self(base)->position;
}

const uint8_t* ViewSaver(ByteStream* base, uint32_t count) {
  SaverFileStream* stream = Self(base);
  if (count > stream->end - stream->position) return nullptr;
  const uint8_t* bytes = stream->mapped + stream->position;
  stream->position += count;
  return bytes;
}

}  // namespace

MappedSaver::~MappedSaver() {
  if (bytes) munmap(const_cast<uint8_t*>(bytes), size);
  if (descriptor >= 0) close(descriptor);
}

bool MapSaverFile(const char* path, MappedSaver* saver) {
  const int descriptor = open(path, O_RDONLY | O_CLOEXEC);
  return descriptor >= 0 && MapSaverDescriptor(descriptor, saver);
}

bool MapSaverDescriptor(int descriptor, MappedSaver* saver) {
  saver->descriptor = descriptor;
  struct stat info;
  if (fstat(saver->descriptor, &info) != 0) return false;
  if (!S_ISREG(info.st_mode)) {
    errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    return false;
  }
  saver->size = static_cast<size_t>(info.st_size);
  if (saver->size == 0) return true;
  void* mapped = mmap(nullptr, saver->size, PROT_READ, MAP_PRIVATE, saver->descriptor, 0);
  if (mapped == MAP_FAILED) {
    saver->size = 0;
    return false;
  }
  saver->bytes = static_cast<const uint8_t*>(mapped);
  return true;
}

bool SpanInFile(const MappedSaver& file, const uint8_t* data, size_t size, FileSpan* span) {
  if (!file.bytes || data < file.bytes || size > file.size || static_cast<size_t>(data - file.bytes) > file.size - size)
    return false;
  *span = FileSpan{file.descriptor, static_cast<uint64_t>(data - file.bytes)};
  return true;
}

void OpenSaverFileStream(SaverFileStream* stream, const MappedSaver& saver, uint64_t start, uint64_t end) {
  stream->base.read = ReadSaver;
  stream->base.skip = SkipSaver;
  stream->base.left = SaverLeft;
  stream->base.view = ViewSaver;
  stream->descriptor = saver.descriptor;
  stream->mapped = saver.bytes;
  stream->position = start;
  stream->end = end < start ? start : end;
}
