// A sound the players cannot play as it is stored, decoded once at build time into the one form
// every player plays: a RIFF wave of 16-bit PCM, in memory, within the sound limit.
#pragma once
#include <cstddef>
#include <cstdint>

#include "sound_codec.h"
#include "source_bytes.h"

enum SoundDecoding {
  SoundDecoded,
  SoundNoDecoder,    // the codec does not take this format here (why: its words)
  SoundUndecodable,  // the file's headers or samples cannot be read (why: the decoder's words)
  SoundSilent,       // it holds no samples at all
  SoundCutShort,     // far fewer samples decode than its headers announce: cut short or damaged
  SoundTooLong,      // the decoded wave would be over `limit` bytes
  SoundNoMemory      // the wave could not be held
};

struct DecodedWave {
  uint8_t* bytes;  // the whole .wav image, header included; release with ReleaseDecodedWave
  size_t size;
  // What was decoded and announced, for messages, whatever the outcome.
  uint32_t rate;
  uint64_t frames;
  uint64_t announcedFrames;  // 0 when the file does not say
};

// Decodes the sound file `file`, read in pieces where it lies, through `codec` (null: no
// decoder, every such sound is refused) into a wave of at most `limit` bytes. A sound whose
// samples end before nine tenths of what its headers announce (sound_length.h, else what the
// codec says) is refused as cut short: decoders pass over damage without a word, so this is how
// a damaged or truncated file shows. A compressed wave ends where its fact chunk says. On any
// outcome but SoundDecoded, *wave holds nothing; *why may be a reason held by the codec, valid
// until the codec begins again.
SoundDecoding DecodeToWave(SoundCodec* codec, SoundFormat format, const SourceBytes& file, uint64_t limit,
                           DecodedWave* wave, const char** why);

void ReleaseDecodedWave(DecodedWave* wave);
