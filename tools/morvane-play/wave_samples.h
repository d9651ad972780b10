// The samples of a playing wave, taken round and round for the sound server: from memory, or
// from the file the wave lies in by positioned reads straight into the server's buffer. What a
// read brings in stays in the system's page cache, not in the program's memory, so a long sound
// does not gather as it plays; and a file cut short while it plays reads short, where a mapping
// read past its end would kill the program.
#pragma once
#include <cstddef>
#include <cstdint>

#include "mapped_saver.h"
#include "wave_format.h"

struct WaveSamples {
  const uint8_t* memory;  // the samples in memory; null: they are read from the file
  int descriptor;
  uint64_t offset;        // where the samples start in the file
  size_t fromImage;       // where they start in the wave image
  size_t size;            // whole frames
  size_t position;        // the next byte of the round
  uint8_t silence;        // every byte of a silent sample
  bool silentToEnd;       // a read came short: silence until the round ends
  bool cutShort;          // set at the first short read, for whoever says so
};

// The samples of `sound`, parsed from `image`: read from the file where `file` is given (the
// image lying there from file->offset on), else from the image, which must stay where it is
// while they are taken.
void OpenWaveSamples(WaveSamples* samples, const WaveSound& sound, const uint8_t* image, const FileSpan* file);
// The same image now lies at `image` in memory: the samples are taken from there on.
void MoveWaveSamples(WaveSamples* samples, const uint8_t* image);
// The next `count` bytes of the play into `out`, from the end of the samples on to their start.
// A read from the file that comes short gives silence for the rest of the round; the next round
// reads the file from its start again.
void TakeSamples(WaveSamples* samples, uint8_t* out, size_t count);
