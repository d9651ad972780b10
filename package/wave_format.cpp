#include "wave_format.h"

#include "byte_order.h"

namespace {

const uint16_t kFormatPcm = 1;
const uint16_t kFormatFloat = 3;
const uint16_t kFormatALaw = 6;
const uint16_t kFormatMuLaw = 7;
const uint16_t kFormatExtensible = 0xFFFE;
const uint32_t kMaxChannels = 32;
const uint32_t kMaxRate = 384000;

bool Refuse(const char** why, const char* reason) {
  *why = reason;
  return false;
}

bool Tag(const uint8_t* at, const char* tag) {
  return at[0] == tag[0] && at[1] == tag[1] && at[2] == tag[2] && at[3] == tag[3];
}

bool SampleFormat(uint16_t code, uint16_t bits, WaveSampleFormat* format) {
  if (code == kFormatPcm) {
    switch (bits) {
      case 8: *format = WaveU8; return true;
      case 16: *format = WaveS16; return true;
      case 24: *format = WaveS24; return true;
      case 32: *format = WaveS32; return true;
    }
    return false;
  }
  if (code == kFormatFloat && bits == 32) {
    *format = WaveFloat32;
    return true;
  }
  if ((code == kFormatALaw || code == kFormatMuLaw) && bits == 8) {
    *format = code == kFormatALaw ? WaveALaw : WaveMuLaw;
    return true;
  }
  return false;
}

// The format chunk's code, the extensible header's sub-format in its place; false when the
// chunk is cut short.
bool FormatCode(const uint8_t* chunk, uint32_t length, size_t available, uint16_t* code) {
  if (length < 16 || available < 16) return false;
  *code = ReadU16LE(chunk + 8);
  if (*code != kFormatExtensible) return true;
  // The sub-format's first two bytes are the plain format code.
  if (length < 40 || available < 40) return false;
  *code = ReadU16LE(chunk + 8 + 24);
  return true;
}

bool PlayedCode(uint16_t code) {
  return code == kFormatPcm || code == kFormatFloat || code == kFormatALaw || code == kFormatMuLaw;
}

}  // namespace

bool WaveStoredAsItIs(const uint8_t* head, size_t size) {
  if (size < 12 || !Tag(head, "RIFF") || !Tag(head + 8, "WAVE")) return false;
  // As ParseWave reads it: the last format chunk before the data counts.
  bool played = false;
  for (size_t at = 12; size - at >= 8;) {
    const uint8_t* chunk = head + at;
    const uint32_t length = ReadU32LE(chunk + 4);
    uint16_t code = 0;
    if (Tag(chunk, "fmt ")) {
      if (!FormatCode(chunk, length, size - at - 8, &code)) return false;
      played = PlayedCode(code);
    } else if (Tag(chunk, "data")) {
      return played;
    }
    const uint64_t next = static_cast<uint64_t>(at) + 8 + length + (length & 1);
    if (next > size) return played;
    at = static_cast<size_t>(next);
  }
  return played;
}

bool WaveDataCutShort(const SourceBytes& file) {
  const uint64_t size = file.size;
  SourceWindow window;
  StartSourceWindow(&window, file);
  const uint8_t* head = size >= 12 ? SourceBytesAt(&window, 0, 12) : nullptr;
  if (!head || !Tag(head, "RIFF") || !Tag(head + 8, "WAVE")) return false;
  for (uint64_t at = 12; size - at >= 8;) {
    const uint8_t* chunk = SourceBytesAt(&window, at, 8);
    // A chunk header that cannot be read is as good as missing.
    if (!chunk) return true;
    const uint32_t length = ReadU32LE(chunk + 4);
    if (Tag(chunk, "data")) return length > size - at - 8;
    const uint64_t next = at + 8 + length + (length & 1);
    if (next > size) return true;
    at = next;
  }
  return false;
}

bool ParseWave(const uint8_t* image, size_t size, WaveSound* sound, const char** why) {
  if (size < 12 || !Tag(image, "RIFF") || !Tag(image + 8, "WAVE")) return Refuse(why, "not a RIFF WAVE file");
  bool haveFormat = false;
  uint16_t code = 0, channels = 0, blockAlign = 0, bits = 0;
  uint32_t rate = 0;
  size_t at = 12;
  while (size - at >= 8) {
    const uint8_t* chunk = image + at;
    const uint32_t length = ReadU32LE(chunk + 4);
    const size_t body = at + 8;
    const size_t available = size - body;
    if (Tag(chunk, "fmt ")) {
      if (!FormatCode(chunk, length, available, &code)) return Refuse(why, "format chunk cut short");
      channels = ReadU16LE(chunk + 10);
      rate = ReadU32LE(chunk + 12);
      blockAlign = ReadU16LE(chunk + 20);
      bits = ReadU16LE(chunk + 22);
      haveFormat = true;
    } else if (Tag(chunk, "data")) {
      if (!haveFormat) return Refuse(why, "data before the format chunk");
      WaveSampleFormat format;
      if (!SampleFormat(code, bits, &format)) return Refuse(why, "a sample format other than PCM, float, A-law or mu-law");
      if (channels == 0 || channels > kMaxChannels) return Refuse(why, "channel count out of range");
      if (rate == 0 || rate > kMaxRate) return Refuse(why, "sample rate out of range");
      const uint32_t frameBytes = static_cast<uint32_t>(channels) * (bits / 8);
      if (blockAlign != frameBytes) return Refuse(why, "block size does not match the format");
      size_t bytes = length < available ? length : available;
      bytes -= bytes % frameBytes;
      if (bytes == 0) return Refuse(why, "no sound data");
      *sound = WaveSound{format, channels, rate, frameBytes, image + body, bytes};
      return true;
    }
    // Chunks are padded to an even length.
    const uint64_t next = static_cast<uint64_t>(body) + length + (length & 1);
    if (next > size) break;
    at = static_cast<size_t>(next);
  }
  return Refuse(why, haveFormat ? "no data chunk" : "no format chunk");
}
