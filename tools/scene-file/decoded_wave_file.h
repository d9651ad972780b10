// The wave of a sound decoded for playing (an MP3 a settings file names, and the like), in a file
// of its own rather than in memory: a sound of many minutes decodes to hundreds of megabytes,
// which the sound output reads from the file with positioned reads, as it reads a wave file.
// The file is made in the temporary folder and unlinked at once, so that nothing is left behind
// however the program ends.
#pragma once

#include "mapped_saver.h"
#include "sound_decoding.h"

struct DecodedWaveFile {
  WaveSink base;
  int descriptor;
};

// A new, empty one; null, with errno set, when the temporary folder takes no file.
DecodedWaveFile* CreateDecodedWaveFile();
// The whole wave, its first `size` bytes (the decoding may have written samples past its end),
// mapped read-only into `into`, which takes the file; the DecodedWaveFile is gone either way.
// False, with errno set, when it cannot be mapped.
bool MapDecodedWave(DecodedWaveFile* file, size_t size, MappedSaver* into);
// A wave given up: the file goes.
void DropDecodedWave(DecodedWaveFile* file);
