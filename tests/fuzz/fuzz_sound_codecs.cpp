// Any bytes as a sound file through the builder's sniffing and one of the Linux sound decoders:
// the file is refused with a reason, or gives a 16-bit PCM wave within the limit that the
// players' wave reading takes. The wave checks the walk makes before decoding see the same bytes.
// Built once for each format (MORVANE_FUZZ_SOUND_FORMAT), so that every input a target tries
// goes to one library: an Ogg's codebook set-up costs a hundred MP3 inputs, and in one target
// for all formats the slowest decided the rate of every other.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "library_sound_codec.h"
#include "sound_decoding.h"
#include "sound_format.h"
#include "source_bytes.h"
#include "wave_format.h"

namespace {

// Small enough that a fuzzer's input decoding to long silence stays quick, large enough for
// many frames of every format.
const uint64_t kFuzzWaveLimit = 16 * 1024;

const SoundFormat kTargetFormat = MORVANE_FUZZ_SOUND_FORMAT;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const SoundFormat format = SniffSoundFormat(data, size);
  MemoryByteSource source(data, size);
  const SourceBytes file = source.Whole();
  // The walk refuses a compressed wave whose chunks claim more than the file holds before any
  // decoder sees it (libsndfile walks such a length a few bytes at a time, for minutes).
  const bool cutShort = WaveDataCutShort(file);
  WaveSound stored;
  const char* why = nullptr;
  // Every wave the players read is one the builder stores as it is, never decodes.
  if (ParseWave(data, size, &stored, &why) && format != SoundPlayableWave) std::abort();
  if (format != kTargetFormat || (format == SoundCompressedWave && cutShort)) return 0;

  // One codec for the whole run, as a tool keeps one for all its sounds: what it keeps from
  // one sound to the next must not change the next one's outcome.
  static LibrarySoundCodec codec;
  static bool opened = false;
  if (!opened) OpenLibrarySoundCodec(&codec);
  opened = true;
  DecodedWave wave;
  const SoundDecoding outcome = DecodeToWave(&codec.base, format, file, kFuzzWaveLimit, &wave, &why);
  if (outcome != SoundDecoded) {
    if (wave.bytes || wave.size) std::abort();
    if ((outcome == SoundUndecodable || outcome == SoundNoDecoder) && !why) std::abort();
    return 0;
  }
  WaveSound sound;
  if (wave.size > kFuzzWaveLimit || !ParseWave(wave.bytes, wave.size, &sound, &why)) std::abort();
  if (sound.format != WaveS16 || sound.data + sound.size != wave.bytes + wave.size) std::abort();
  if (!WaveStoredAsItIs(wave.bytes, wave.size)) std::abort();
  ReleaseDecodedWave(&wave);
  return 0;
}
