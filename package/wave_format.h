// The sample data of a .wav image (the scene's sound as a package or a settings file holds it):
// the forms the Windows player plays, found by walking the RIFF chunks with every size checked.
// The builder stores waves of these forms as they are and decodes the others.
#pragma once
#include <cstddef>
#include <cstdint>

#include "source_bytes.h"

enum WaveSampleFormat { WaveU8, WaveS16, WaveS24, WaveS32, WaveFloat32, WaveALaw, WaveMuLaw };

struct WaveSound {
  WaveSampleFormat format;
  uint16_t channels;
  uint32_t rate;         // frames per second
  uint32_t frameBytes;   // bytes of one frame, all channels
  const uint8_t* data;   // points into the image
  size_t size;           // whole frames only
};

// False, with the reason, for an image that is not a RIFF WAVE, has no format or data chunk,
// uses a form other than PCM of 8, 16, 24 or 32 bits, 32-bit float, A-law or mu-law (plain or
// in the extensible header), or holds no whole frame. A data chunk that claims more than the
// image holds plays what is there.
bool ParseWave(const uint8_t* image, size_t size, WaveSound* sound, const char** why);

// Whether the head of a RIFF WAVE image (at least its chunks up to the format chunk) names a
// form that ParseWave takes, plain or in the extensible header. A wave whose format chunk is
// missing, or lies beyond the head, is not.
bool WaveStoredAsItIs(const uint8_t* head, size_t size);

// Whether the data chunk of a RIFF WAVE image claims more bytes than the image holds, as in a
// file cut short. Decoders of compressed forms play what is there without a word. Only the
// chunk headers are read, from the file where it lies.
bool WaveDataCutShort(const SourceBytes& file);
