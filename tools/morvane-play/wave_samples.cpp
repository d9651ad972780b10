#include "wave_samples.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

uint8_t SilenceOf(WaveSampleFormat format) {
  switch (format) {
    case WaveU8: return 0x80;
    case WaveALaw: return 0xD5;
    case WaveMuLaw: return 0xFF;
    default: return 0;
  }
}

// What a positioned read gives of `count` bytes: fewer at the file's end or a read error.
size_t ReadAt(int descriptor, uint8_t* into, size_t count, uint64_t at) {
  size_t done = 0;
  while (done < count) {
    const ssize_t got = pread(descriptor, into + done, count - done, static_cast<off_t>(at + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  return done;
}

}  // namespace

void OpenWaveSamples(WaveSamples* samples, const WaveSound& sound, const uint8_t* image, const FileSpan* file) {
  samples->fromImage = static_cast<size_t>(sound.data - image);
  samples->memory = file ? nullptr : sound.data;
  samples->descriptor = file ? file->descriptor : -1;
  samples->offset = file ? file->offset + samples->fromImage : 0;
  samples->size = sound.size;
  samples->position = 0;
  samples->silence = SilenceOf(sound.format);
  samples->silentToEnd = false;
  samples->cutShort = false;
}

void MoveWaveSamples(WaveSamples* samples, const uint8_t* image) {
  samples->memory = image + samples->fromImage;
}

void TakeSamples(WaveSamples* samples, uint8_t* out, size_t count) {
  for (size_t filled = 0; filled < count;) {
    size_t run = samples->size - samples->position;
    if (run > count - filled) run = count - filled;
    size_t got = run;
    if (samples->memory)
      std::memcpy(out + filled, samples->memory + samples->position, run);
    else
      got = samples->silentToEnd ? 0 : ReadAt(samples->descriptor, out + filled, run, samples->offset + samples->position);
    if (got < run) {
      std::memset(out + filled + got, samples->silence, run - got);
      samples->silentToEnd = samples->cutShort = true;
    }
    filled += run;
    samples->position += run;
    if (samples->position == samples->size) {
      samples->position = 0;
      samples->silentToEnd = false;
    }
  }
}
