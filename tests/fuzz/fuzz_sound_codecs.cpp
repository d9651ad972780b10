// Any bytes as a sound file through the builder's sniffing and the Linux sound decoders: the
// file is refused with a reason, or gives a 16-bit PCM wave within the limit that the players'
// wave reading takes. The wave checks the walk makes before decoding see the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "library_sound_codec.h"
#include "sound_decoding.h"
#include "sound_format.h"
#include "wave_format.h"

namespace {

// Small enough that a fuzzer's input decoding to long silence stays quick, large enough for
// many frames of every format.
const uint64_t kFuzzWaveLimit = 16 * 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const SoundFormat format = SniffSoundFormat(data, size);
  WaveDataCutShort(data, size);
  WaveSound stored;
  const char* why = nullptr;
  // Every wave the players read is one the builder stores as it is, never decodes.
  if (ParseWave(data, size, &stored, &why) && format != SoundPlayableWave) std::abort();
  if (format == SoundPlayableWave || format == SoundUnknown) return 0;

  static LibrarySoundCodec codec;
  OpenLibrarySoundCodec(&codec);
  DecodedWave wave;
  const SoundDecoding outcome = DecodeToWave(&codec.base, format, data, size, kFuzzWaveLimit, &wave, &why);
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
