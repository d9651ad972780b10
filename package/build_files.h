// The file operations the package builder needs, as a table of operations: the portable stdio
// version serves the Linux tool and the Windows programs alike, and tests put failing files behind it.
#pragma once
#include <cstddef>
#include <cstdint>

#include "source_bytes.h"

struct BuildFiles {
  typedef void* Handle;

  // Null when the file cannot be opened; lastError then says why.
  Handle (*openForReading)(BuildFiles* files, const char* path);
  // Starts a new version of the file: written beside it, so that the file itself stays as it
  // was until finishReplacement keeps the new one. Null on failure.
  Handle (*createReplacement)(BuildFiles* files, const char* path);
  // Ends a file from createReplacement. keep: the new version takes the file's name, or, when
  // its bytes could not all be stored or it cannot take the name, is removed and false
  // returned. Not keep: the new version is removed and the file stays as it was.
  bool (*finishReplacement)(BuildFiles* files, Handle file, bool keep);
  bool (*sizeOf)(BuildFiles* files, Handle file, uint64_t* size);
  bool (*seek)(BuildFiles* files, Handle file, uint64_t offset);
  // The number of bytes transferred; fewer than asked at the end of a file or on failure.
  size_t (*read)(BuildFiles* files, Handle file, void* data, size_t size);
  size_t (*write)(BuildFiles* files, Handle file, const void* data, size_t size);
  // Closes a file opened for reading.
  bool (*close)(BuildFiles* files, Handle file);
  // A description of the last failure, for messages.
  const char* (*lastError)(BuildFiles* files);
  // The last failure as the C library's error number, 0 when it was no such failure (or the
  // files know no such numbers); the messages that tell a missing folder from a full disk go by it.
  int (*lastErrorNumber)(BuildFiles* files);
};

// Reads until size bytes are in or the file ends; returns the count.
size_t ReadFully(BuildFiles* files, BuildFiles::Handle file, void* data, size_t size);

// A file of the seam as a source that codecs read in pieces: a picture's or a sound's file where
// it lies. The file stays the caller's to close.
struct BuildFileSource {
  ByteSource base;
  BuildFiles* files;
  BuildFiles::Handle file;
  // A read got fewer bytes than it asked for: the file ended early or could not be read, which a
  // decoder takes for the end of the file. lastError says why.
  bool shortRead;
};

BuildFileSource MakeBuildFileSource(BuildFiles* files, BuildFiles::Handle file);
