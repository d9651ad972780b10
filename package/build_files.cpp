#include "build_files.h"

size_t ReadFully(BuildFiles* files, BuildFiles::Handle file, void* data, size_t size) {
  size_t done = 0;
  while (done < size) {
    size_t got = files->read(files, file, static_cast<char*>(data) + done, size - done);
    if (got == 0) break;
    done += got;
  }
  return done;
}

namespace {

size_t ReadFileAt(ByteSource* source, uint64_t offset, void* data, size_t size) {
  BuildFileSource* self = reinterpret_cast<BuildFileSource*>(source);
  BuildFiles* files = self->files;
  const size_t got = files->seek(files, self->file, offset) ? ReadFully(files, self->file, data, size) : 0;
  if (got < size) self->shortRead = true;
  return got;
}

}  // namespace

BuildFileSource MakeBuildFileSource(BuildFiles* files, BuildFiles::Handle file) {
  return BuildFileSource{{ReadFileAt}, files, file, false};
}
