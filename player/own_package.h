// The scene package that follows the player image in this program's own file, as a stream for
// the package's record reader: the saver plays it, the information dialog shows its memo lines.
#pragma once
#include <windows.h>

#include "byte_stream.h"

struct OwnPackage {
  ByteStream base;
  HANDLE file;
  uint64_t left;  // the file's bytes after the current position
  uint64_t size;  // the file's bytes in all
};

// A file that cannot be opened gives a stream that has already ended.
void OpenOwnPackage(OwnPackage* package);
void CloseOwnPackage(OwnPackage* package);
