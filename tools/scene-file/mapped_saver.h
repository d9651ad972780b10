// A packaged saver's file as the Linux programs read it: mapped read-only, so that the strict
// reading of the package looks at its record headers without the pixels ever being read, and
// read through a stream of positioned reads for playing, so that what a load has read does not
// stay in the program's memory. A saver of a hundred megabytes costs what its scene keeps.
#pragma once
#include <cstddef>
#include <cstdint>

#include "byte_stream.h"

struct MappedSaver {
  int descriptor = -1;
  const uint8_t* bytes = nullptr;  // the whole file, mapped
  size_t size = 0;

  MappedSaver() = default;
  MappedSaver(const MappedSaver&) = delete;
  MappedSaver& operator=(const MappedSaver&) = delete;
  ~MappedSaver();
};

// False, with errno set, when the file cannot be opened or mapped. An empty file maps to no bytes.
// Any file read in place maps so: a settings file's wave too.
bool MapSaverFile(const char* path, MappedSaver* saver);
// The same for a file already open, which the MappedSaver takes whatever the outcome.
bool MapSaverDescriptor(int descriptor, MappedSaver* saver);

// Where bytes handed out from a mapping lie in the file itself, for reading them with
// positioned reads rather than through the mapping.
struct FileSpan {
  int descriptor;
  uint64_t offset;
};

// Whether bytes [data, data + size) lie in the mapped file; where, in *span.
bool SpanInFile(const MappedSaver& file, const uint8_t* data, size_t size, FileSpan* span);

// Bytes [start, end) of the mapped file, read with positioned reads; a view of them is taken in
// place, valid while the MappedSaver lasts.
struct SaverFileStream {
  ByteStream base;
  int descriptor;
  const uint8_t* mapped;
  uint64_t position, end;
};

void OpenSaverFileStream(SaverFileStream* stream, const MappedSaver& saver, uint64_t start, uint64_t end);
