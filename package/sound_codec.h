// The seam between the builder and a platform's sound decoders: the Linux tools decode with
// Debian's libsndfile, the Windows programs with the system's Media Foundation. Either way a
// sound comes out as 16-bit signed PCM frames, and the wave written from them (sound_decoding.h)
// is the same portable code.
#pragma once
#include <cstddef>
#include <cstdint>

#include "sound_format.h"
#include "source_bytes.h"

enum SoundStep {
  SoundSamplesReady,  // *frames whole frames were written
  SoundEnded,         // the sound has no further samples
  SoundDamaged        // the samples could not be decoded; *why says why
};

enum SoundOpening {
  SoundOpened,
  SoundNotTakenHere,  // no decoder for this format on this system
  SoundUnreadable     // the format's, but its headers cannot be read
};

struct SoundShape {
  uint16_t channels;  // 1 to kMaxSoundChannels
  uint32_t rate;      // frames per second, 1 to kMaxSoundRate
  uint64_t frames;    // as the file's headers announce it; 0 when they do not
};
const uint16_t kMaxSoundChannels = 8;
const uint32_t kMaxSoundRate = 384000;

struct SoundCodec {
  // Starts on the whole file and reads its headers. The file is read in pieces as the sound
  // decodes: the caller keeps its source until `end`. Anything but SoundOpened comes with a
  // reason; `end` is still to be called.
  SoundOpening (*begin)(SoundCodec* codec, SoundFormat format, const SourceBytes* file, SoundShape* shape,
                const char** why);
  // Up to `room` frames of interleaved samples; *frames is set whenever SoundSamplesReady is
  // returned, and is never 0 then.
  SoundStep (*read)(SoundCodec* codec, int16_t* samples, size_t room, size_t* frames, const char** why);
  // Releases whatever `begin` and `read` took; the codec can begin again afterwards. A reason
  // given by `begin` or `read` may be held by the codec, and stays valid until it begins again.
  void (*end)(SoundCodec* codec);
};

// Where a codec's reader writes a reason that carries the system's or library's words: the
// codec's own buffer, which outlives the reader.
struct SoundMessage {
  char* text;
  size_t size;
};
