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

// The samples as little-endian bytes whatever the host's order, in place: each sample's two
// bytes are where the sample was.
void StoreSamples(int16_t* samples, size_t count) {
  uint8_t* at = reinterpret_cast<uint8_t*>(samples);
  for (size_t i = 0; i < count; ++i) PutU16(at + 2 * i, static_cast<uint16_t>(samples[i]));
}

bool WriteToMemory(WaveSink* base, uint64_t offset, const void* data, size_t size, const char** why) {
  MemoryWaveSink* sink = reinterpret_cast<MemoryWaveSink*>(base);
  const uint64_t end = offset + size;
  if (end > sink->room) {
    *why = "the wave would be larger than its room";
    return false;
  }
  if (end > sink->capacity) {
    // Doubling keeps a long sound to a few dozen copies; the last step stops at the room.
    uint64_t grown = sink->capacity ? sink->capacity * 2ull : 1ull << 20;
    if (grown < end) grown = end;
    if (grown > sink->room) grown = sink->room;
    uint8_t* larger = static_cast<uint8_t*>(std::realloc(sink->bytes, static_cast<size_t>(grown)));
    if (!larger) {
      *why = nullptr;
      return false;
    }
    sink->bytes = larger;
    sink->capacity = static_cast<size_t>(grown);
  }
  std::memcpy(sink->bytes + offset, data, size);
  return true;
}

}  // namespace

void OpenMemoryWaveSink(MemoryWaveSink* sink, uint64_t room) {
  sink->base.write = WriteToMemory;
  sink->bytes = nullptr;
  sink->capacity = 0;
  sink->room = room;
}

SoundDecoding BeginWaveDecoding(WaveDecoding* d, SoundCodec* codec, SoundFormat format, const SourceBytes& file,
                                uint64_t limit, WaveSink* sink, DecodedWave* wave, const char** why) {
  std::memset(d, 0, sizeof *d);
  // The codec reads the stretch through this copy, which lasts as long as the decoding.
  d->file = file;
  std::memset(wave, 0, sizeof *wave);
  d->ended = true;
  *why = nullptr;
  if (!codec) {
    *why = "no sound decoder in this program";
    return SoundNoDecoder;
  }
  if ((*why = SoundHeadersCutShort(format, d->file))) return SoundUndecodable;
  const SoundOpening opening = codec->begin(codec, format, &d->file, &d->shape, why);
  if (opening != SoundOpened) {
    codec->end(codec);
    return opening == SoundNotTakenHere ? SoundNoDecoder : SoundUndecodable;
  }
  if (d->shape.channels == 0 || d->shape.channels > kMaxSoundChannels || d->shape.rate == 0 ||
      d->shape.rate > kMaxSoundRate) {
    codec->end(codec);
    *why = "channel count or sample rate out of range";
    return SoundUndecodable;
  }
  // The file's own count, where it has one, rules: decoders differ in what they announce.
  d->announced = AnnouncedSoundFrames(format, d->file);
  if (d->announced) d->shape.frames = d->announced;
  wave->rate = d->shape.rate;
  wave->announcedFrames = d->shape.frames;
  // The wave's own 32-bit sizes bound it as well as the limit does.
  d->room = limit < 0xFFFFFFFFull ? limit : 0xFFFFFFFFull;
  if (d->room < kWaveHeaderSize + 2u * d->shape.channels) {
    codec->end(codec);
    return SoundTooLong;
  }
  d->codec = codec;
  d->format = format;
  d->sink = sink;
  d->used = kWaveHeaderSize;
  d->outcome = SoundDecoded;
  d->ended = false;
  return SoundDecoded;
}

bool DecodeMoreWave(WaveDecoding* d, uint64_t wanted) {
  const size_t frameBytes = 2u * d->shape.channels;
  int16_t samples[kFramesPerRead * kMaxSoundChannels];
  uint64_t done = 0;
  while (!d->ended && done < wanted) {
    size_t frames = 0;
    const SoundStep step = d->codec->read(d->codec, samples, kFramesPerRead, &frames, &d->why);
    if (step != SoundSamplesReady) {
      if (step == SoundDamaged) d->outcome = SoundUndecodable;
      d->ended = true;
      break;
    }
    if (frames == 0 || frames > kFramesPerRead) continue;
    const size_t piece = frames * frameBytes;
    if (d->used + piece > d->room) {
      d->outcome = SoundTooLong;
      d->ended = true;
      break;
    }
    StoreSamples(samples, frames * d->shape.channels);
    if (!d->sink->write(d->sink, d->used, samples, piece, &d->why)) {
      d->outcome = SoundNoMemory;
      d->ended = true;
      break;
    }
    d->used += piece;
    done += frames;
  }
  return !d->ended;
}

SoundDecoding EndWaveDecoding(WaveDecoding* d, DecodedWave* wave, const char** why) {
  if (!d->codec) return SoundNoDecoder;
  d->ended = true;
  d->codec->end(d->codec);
  d->codec = nullptr;
  *why = d->why;
  const size_t frameBytes = 2u * d->shape.channels;
  uint64_t used = d->used;
  wave->rate = d->shape.rate;
  wave->announcedFrames = d->shape.frames;
  wave->frames = (used - kWaveHeaderSize) / frameBytes;
  // A compressed wave's last block is padded; its fact chunk says where the sound ends. A count
  // short by more than a block is no padding but a wrong fact chunk, and all is kept.
  if (d->format == SoundCompressedWave && d->announced && wave->frames > d->announced &&
      wave->frames - d->announced <= kMaxBlockPadding) {
    wave->frames = d->announced;
    used = kWaveHeaderSize + d->announced * frameBytes;
  }
  SoundDecoding outcome = d->outcome;
  if (outcome == SoundDecoded && wave->frames == 0) outcome = SoundSilent;
  if (outcome == SoundDecoded && wave->frames < d->shape.frames - d->shape.frames / 10) outcome = SoundCutShort;
  if (outcome != SoundDecoded) return outcome;
  uint8_t header[kWaveHeaderSize];
  WriteWaveHeader(header, d->shape, static_cast<uint32_t>(used - kWaveHeaderSize));
  if (!d->sink->write(d->sink, 0, header, sizeof header, why)) return SoundNoMemory;
  wave->size = static_cast<size_t>(used);
  return SoundDecoded;
}

void AbandonWaveDecoding(WaveDecoding* d) {
  if (d->codec) d->codec->end(d->codec);
  d->codec = nullptr;
  d->ended = true;
}

SoundDecoding DecodeToWave(SoundCodec* codec, SoundFormat format, const SourceBytes& file, uint64_t limit,
                           DecodedWave* wave, const char** why) {
  MemoryWaveSink sink;
  OpenMemoryWaveSink(&sink, limit < 0xFFFFFFFFull ? limit : 0xFFFFFFFFull);
  WaveDecoding decoding;
  SoundDecoding outcome = BeginWaveDecoding(&decoding, codec, format, file, limit, &sink.base, wave, why);
  if (outcome != SoundDecoded) return outcome;
  while (DecodeMoreWave(&decoding, UINT64_MAX)) {
  }
  outcome = EndWaveDecoding(&decoding, wave, why);
  if (outcome != SoundDecoded) {
    std::free(sink.bytes);
    wave->size = 0;
    return outcome;
  }
  wave->bytes = sink.bytes;
  return SoundDecoded;
}

void ReleaseDecodedWave(DecodedWave* wave) {
  std::free(wave->bytes);
  wave->bytes = nullptr;
  wave->size = 0;
}
