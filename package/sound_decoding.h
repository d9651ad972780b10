// A sound the players cannot play as it is stored, decoded once at build time into the one form
// every player plays: a RIFF wave of 16-bit PCM, within the sound limit.
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
  SoundNoMemory      // the wave could not be kept (why: the sink's words, where it has any)
};

struct DecodedWave {
  uint8_t* bytes;  // the whole .wav image, header included, when decoded into memory; release
                   // with ReleaseDecodedWave
  size_t size;     // of the image, wherever it went
  // What was decoded and announced, for messages, whatever the outcome.
  uint32_t rate;
  uint64_t frames;
  uint64_t announcedFrames;  // 0 when the file does not say
};

// Where a decoded wave's image goes as it is decoded: memory for the builder, which writes it
// into the package, or a file of the player's, so that a long sound costs no memory while it
// plays. The samples come in order from byte 44; the header comes last, at 0.
struct WaveSink {
  // Keeps `size` bytes at `offset` of the image; false, with the reason, when they cannot be kept.
  bool (*write)(WaveSink* sink, uint64_t offset, const void* data, size_t size, const char** why);
};

// A decoding under way, a few thousand frames at a time, for a player that decodes between its
// paints: BeginWaveDecoding, DecodeMoreWave until it says the sound has ended, EndWaveDecoding.
struct WaveDecoding {
  SoundCodec* codec;  // from a successful begin to the end, else null
  SoundFormat format;
  SourceBytes file;  // the codec reads it until the end
  WaveSink* sink;
  SoundShape shape;
  uint64_t announced;  // the file's own frame count, 0 when it has none
  uint64_t room;       // bytes the image may take
  uint64_t used;       // bytes of it so far, header included
  SoundDecoding outcome;
  const char* why;
  bool ended;
};

// Starts on the sound file `file`, read in pieces where it lies (its source stays until the
// end), through `codec` (null: no decoder, every such sound is refused); SoundDecoded when the
// samples are to come, else the refusal, with *wave holding what is known for the message and
// the codec ended.
SoundDecoding BeginWaveDecoding(WaveDecoding* decoding, SoundCodec* codec, SoundFormat format, const SourceBytes& file,
                                uint64_t limit, WaveSink* sink, DecodedWave* wave, const char** why);
// Decodes at least `frames` more frames, or to the end; false once nothing is left to decode.
bool DecodeMoreWave(WaveDecoding* decoding, uint64_t frames);
// Ends the codec and judges the whole: on SoundDecoded the sink holds the image, header
// included, of wave->size bytes.
SoundDecoding EndWaveDecoding(WaveDecoding* decoding, DecodedWave* wave, const char** why);
// Ends the codec of a decoding that is given up; what the sink took is the sink's to drop.
void AbandonWaveDecoding(WaveDecoding* decoding);

// A sink in memory that grows by doubling up to `room` bytes: the image lies at `bytes`.
struct MemoryWaveSink {
  WaveSink base;
  uint8_t* bytes;
  size_t capacity;
  uint64_t room;
};
void OpenMemoryWaveSink(MemoryWaveSink* sink, uint64_t room);

// Decodes the sound file `file` through `codec` (null: no decoder, every such sound is refused)
// into a wave of at most `limit` bytes in memory. A sound whose samples end before nine tenths of what its
// headers announce (sound_length.h, else what the codec says) is refused as cut short: decoders
// pass over damage without a word, so this is how a damaged or truncated file shows. A
// compressed wave ends where its fact chunk says. On any outcome but SoundDecoded, *wave holds
// nothing; *why may be a reason held by the codec, valid until the codec begins again.
SoundDecoding DecodeToWave(SoundCodec* codec, SoundFormat format, const SourceBytes& file, uint64_t limit,
                           DecodedWave* wave, const char** why);

void ReleaseDecodedWave(DecodedWave* wave);
