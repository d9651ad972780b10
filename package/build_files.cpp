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
