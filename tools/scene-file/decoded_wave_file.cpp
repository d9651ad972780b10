#include "decoded_wave_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace {

bool WriteAt(WaveSink* sink, uint64_t offset, const void* data, size_t size, const char** why) {
  const int descriptor = reinterpret_cast<DecodedWaveFile*>(sink)->descriptor;
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  while (size > 0) {
    const ssize_t put = pwrite(descriptor, bytes, size, static_cast<off_t>(offset));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      // A full disk says nothing until it refuses a write.
      *why = std::strerror(put < 0 ? errno : ENOSPC);
      return false;
    }
    bytes += put;
    size -= static_cast<size_t>(put);
    offset += static_cast<uint64_t>(put);
  }
  return true;
}

// A file no other program can open: one without a name where the system has them, else a
// named one unlinked at once.
int OpenNamelessFile() {
  const char* folder = std::getenv("TMPDIR");
  if (!folder || !*folder) folder = "/tmp";
#ifdef O_TMPFILE
  const int nameless = open(folder, O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (nameless >= 0) return nameless;
#endif
  std::string name = std::string(folder) + "/morvane-sound-XXXXXX";
  const int named = mkostemp(&name[0], O_CLOEXEC);
  if (named >= 0) unlink(name.c_str());
  return named;
}

}  // namespace

DecodedWaveFile* CreateDecodedWaveFile() {
  const int descriptor = OpenNamelessFile();
  if (descriptor < 0) return nullptr;
  DecodedWaveFile* file = new (std::nothrow) DecodedWaveFile;
  if (!file) {
    close(descriptor);
    errno = ENOMEM;
    return nullptr;
  }
  file->base.write = WriteAt;
  file->descriptor = descriptor;
  return file;
}

bool MapDecodedWave(DecodedWaveFile* file, size_t size, MappedSaver* into) {
  const bool cut = ftruncate(file->descriptor, static_cast<off_t>(size)) == 0;
  const bool mapped = MapSaverDescriptor(file->descriptor, into) && cut;
  delete file;
  return mapped;
}

void DropDecodedWave(DecodedWaveFile* file) {
  close(file->descriptor);
  delete file;
}
