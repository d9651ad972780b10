// The builder's own part of taking a sound, apart from any library: the sniffing and the wave
// chunk walks the walk makes on any bytes, and the wave assembly of DecodeToWave fed by a codec
// that plays back what the input says (its shape, how many frames each read gives, where it
// fails), so that every outcome (limits, cut short, silent, damaged) is reached at the speed
// of the code under test. The real decoders are the fuzz_sound_FORMAT targets'
// (fuzz_sound_codecs.cpp).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "byte_order.h"
#include "sound_decoding.h"
#include "sound_format.h"
#include "source_bytes.h"
#include "wave_format.h"

namespace {

// The file it is given is its script, read from the source as a decoder would.
struct ScriptedCodec {
  SoundCodec base;
  const SourceBytes* script;
  uint64_t at;
  uint16_t channels;
  bool begun;
};

bool ScriptEnded(const ScriptedCodec* self) { return self->at >= self->script->size; }

uint8_t Next(ScriptedCodec* self) {
  uint8_t byte = 0;
  if (ScriptEnded(self) || ReadSourceBytes(*self->script, self->at, &byte, 1) != 1) return 0;
  ++self->at;
  return byte;
}

SoundOpening Begin(SoundCodec* codec, SoundFormat, const SourceBytes* file, SoundShape* shape, const char** why) {
  ScriptedCodec* self = reinterpret_cast<ScriptedCodec*>(codec);
  self->script = file;
  self->at = 0;
  self->begun = true;
  const uint8_t opening = Next(self) % 8;
  shape->channels = static_cast<uint16_t>(Next(self) % 12);  // out of range past 8
  shape->rate = static_cast<uint32_t>(Next(self)) * 2000;    // 0 and over the limit included
  shape->frames = static_cast<uint64_t>(Next(self)) * 64;
  self->channels = shape->channels;
  if (opening == 0) {
    *why = "not here";
    return SoundNotTakenHere;
  }
  if (opening == 1) {
    *why = "damaged headers";
    return SoundUnreadable;
  }
  return SoundOpened;
}

SoundStep Read(SoundCodec* codec, int16_t* samples, size_t room, size_t* frames, const char** why) {
  ScriptedCodec* self = reinterpret_cast<ScriptedCodec*>(codec);
  if (!self->begun) std::abort();  // read after end
  const uint8_t step = Next(self);
  if (ScriptEnded(self)) return SoundEnded;
  if (step == 0xFF) {
    *why = "damaged samples";
    return SoundDamaged;
  }
  // Up to room frames, sometimes none; samples from the input.
  size_t given = (static_cast<size_t>(step) * 37) % (room + 1);
  for (size_t i = 0; i < given * self->channels; ++i) samples[i] = static_cast<int16_t>(Next(self) * 257);
  *frames = given;
  return SoundSamplesReady;
}

void End(SoundCodec* codec) { reinterpret_cast<ScriptedCodec*>(codec)->begun = false; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const SoundFormat format = SniffSoundFormat(data, size);
  MemoryByteSource whole(data, size);
  WaveDataCutShort(whole.Whole());
  WaveSound stored;
  const char* why = nullptr;
  // Every wave the players read is one the builder stores as it is, never decodes.
  if (ParseWave(data, size, &stored, &why) && format != SoundPlayableWave) std::abort();
  if (size < 2) return 0;

  ScriptedCodec codec = {{Begin, Read, End}, nullptr, 0, 0, false};
  const uint64_t limit = ReadU16LE(data) % 16384;
  MemoryByteSource script(data + 2, size - 2);
  DecodedWave wave;
  const SoundDecoding outcome = DecodeToWave(&codec.base, SoundMp3, script.Whole(), limit, &wave, &why);
  if (codec.begun) std::abort();  // every begin has its end
  if (outcome != SoundDecoded) {
    if (wave.bytes || wave.size) std::abort();
    return 0;
  }
  WaveSound sound;
  if (wave.size > limit || !ParseWave(wave.bytes, wave.size, &sound, &why)) std::abort();
  if (sound.format != WaveS16 || sound.channels != codec.channels || sound.data + sound.size != wave.bytes + wave.size)
    std::abort();
  if (wave.frames == 0 || wave.frames * sound.frameBytes != sound.size) std::abort();
  if (wave.frames < wave.announcedFrames - wave.announcedFrames / 10) std::abort();
  ReleaseDecodedWave(&wave);
  return 0;
}
