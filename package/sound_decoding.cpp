#include "sound_decoding.h"

#include <cstdlib>
#include <cstring>

#include "sound_length.h"

namespace {

const size_t kWaveHeaderSize = 44;
// Frames of the largest compressed block in use (an ADPCM block of 8 KiB holds some 16,000).
const uint64_t kMaxBlockPadding = 16384;
#ifndef MORVANE_FUZZ_SIZE_CAPS
const size_t kFramesPerRead = 4096;
#else
// The fuzzing build only: short reads reach every branch that long ones do, far faster.
const size_t kFramesPerRead = 256;
#endif

void PutU32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

void PutU16(uint8_t* at, uint16_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

void WriteWaveHeader(uint8_t* at, const SoundShape& shape, uint32_t dataBytes) {
  const uint16_t frameBytes = static_cast<uint16_t>(shape.channels * 2);
  std::memcpy(at, "RIFF", 4);
  PutU32(at + 4, static_cast<uint32_t>(kWaveHeaderSize - 8 + dataBytes));
  std::memcpy(at + 8, "WAVEfmt ", 8);
  PutU32(at + 16, 16);
  PutU16(at + 20, 1);  // PCM
  PutU16(at + 22, shape.channels);
  PutU32(at + 24, shape.rate);
  PutU32(at + 28, shape.rate * frameBytes);
  PutU16(at + 32, frameBytes);
  PutU16(at + 34, 16);
  std::memcpy(at + 36, "data", 4);
  PutU32(at + 40, dataBytes);
}

// The samples as little-endian bytes whatever the host's order.
void StoreSamples(uint8_t* at, const int16_t* samples, size_t count) {
  for (size_t i = 0; i < count; ++i) PutU16(at + 2 * i, static_cast<uint16_t>(samples[i]));
}

}  // namespace

SoundDecoding DecodeToWave(SoundCodec* codec, SoundFormat format, const SourceBytes& file, uint64_t limit,
                           DecodedWave* wave, const char** why) {
  std::memset(wave, 0, sizeof *wave);
  *why = nullptr;
  if (!codec) {
    *why = "no sound decoder in this program";
    return SoundNoDecoder;
  }
  if ((*why = SoundHeadersCutShort(format, file))) return SoundUndecodable;
  SoundShape shape = {0, 0, 0};
  const SoundOpening opening = codec->begin(codec, format, &file, &shape, why);
  if (opening != SoundOpened) {
    codec->end(codec);
    return opening == SoundNotTakenHere ? SoundNoDecoder : SoundUndecodable;
  }
  if (shape.channels == 0 || shape.channels > kMaxSoundChannels || shape.rate == 0 || shape.rate > kMaxSoundRate) {
    codec->end(codec);
    *why = "channel count or sample rate out of range";
    return SoundUndecodable;
  }
  const size_t frameBytes = 2u * shape.channels;
  // The file's own count, where it has one, rules: decoders differ in what they announce.
  const uint64_t announced = AnnouncedSoundFrames(format, file);
  if (announced) shape.frames = announced;
  wave->rate = shape.rate;
  wave->announcedFrames = shape.frames;
  // The wave's own 32-bit sizes bound it as well as the limit does.
  const uint64_t room = limit < 0xFFFFFFFFull ? limit : 0xFFFFFFFFull;
  if (room < kWaveHeaderSize + frameBytes) {
    codec->end(codec);
    return SoundTooLong;
  }
  int16_t samples[kFramesPerRead * kMaxSoundChannels];
  size_t capacity = 0;
  size_t used = kWaveHeaderSize;
  SoundDecoding outcome = SoundDecoded;
  for (;;) {
    size_t frames = 0;
    const SoundStep step = codec->read(codec, samples, kFramesPerRead, &frames, why);
    if (step == SoundEnded) break;
    if (step == SoundDamaged) {
      outcome = SoundUndecodable;
      break;
    }
    if (frames == 0 || frames > kFramesPerRead) continue;
    const size_t piece = frames * frameBytes;
    if (used + piece > room) {
      outcome = SoundTooLong;
      break;
    }
    if (used + piece > capacity) {
      // Doubling keeps a long sound to a few dozen copies; the last step stops at the limit.
      uint64_t grown = capacity ? capacity * 2ull : 1ull << 20;
      if (grown < used + piece) grown = used + piece;
      if (grown > room) grown = room;
      uint8_t* larger = static_cast<uint8_t*>(std::realloc(wave->bytes, static_cast<size_t>(grown)));
      if (!larger) {
        outcome = SoundNoMemory;
        break;
      }
      wave->bytes = larger;
      capacity = static_cast<size_t>(grown);
    }
    StoreSamples(wave->bytes + used, samples, frames * shape.channels);
    used += piece;
  }
  codec->end(codec);
  wave->frames = (used - kWaveHeaderSize) / frameBytes;
  // A compressed wave's last block is padded; its fact chunk says where the sound ends. A count
  // short by more than a block is no padding but a wrong fact chunk, and all is kept.
  if (format == SoundCompressedWave && announced && wave->frames > announced &&
      wave->frames - announced <= kMaxBlockPadding) {
    wave->frames = announced;
    used = kWaveHeaderSize + static_cast<size_t>(announced) * frameBytes;
  }
  if (outcome == SoundDecoded && wave->frames == 0) outcome = SoundSilent;
  if (outcome == SoundDecoded && wave->frames < shape.frames - shape.frames / 10) outcome = SoundCutShort;
  if (outcome != SoundDecoded) {
    ReleaseDecodedWave(wave);
    return outcome;
  }
  WriteWaveHeader(wave->bytes, shape, static_cast<uint32_t>(used - kWaveHeaderSize));
  wave->size = used;
  return SoundDecoded;
}

void ReleaseDecodedWave(DecodedWave* wave) {
  std::free(wave->bytes);
  wave->bytes = nullptr;
  wave->size = 0;
}
