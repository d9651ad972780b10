#include "sound_length.h"

#include <cstring>

#include "byte_order.h"

namespace {

uint32_t ReadU32BE(const uint8_t* at) {
  return (static_cast<uint32_t>(at[0]) << 24) | (static_cast<uint32_t>(at[1]) << 16) |
         (static_cast<uint32_t>(at[2]) << 8) | at[3];
}

uint64_t FactFrames(const uint8_t* bytes, size_t size) {
  for (size_t at = 12; size >= 12 && size - at >= 8;) {
    const uint32_t length = ReadU32LE(bytes + at + 4);
    if (std::memcmp(bytes + at, "data", 4) == 0) return 0;
    if (std::memcmp(bytes + at, "fact", 4) == 0) return length >= 4 && size - at - 8 >= 4 ? ReadU32LE(bytes + at + 8) : 0;
    const uint64_t next = static_cast<uint64_t>(at) + 8 + length + (length & 1);
    if (next > size) return 0;
    at = static_cast<size_t>(next);
  }
  return 0;
}

// The first frame's Xing or Info header (which LAME and most encoders write): its frame count
// times the samples of a frame.
uint64_t XingFrames(const uint8_t* bytes, size_t size) {
  size_t at = 0;
  // An ID3v2 tag first: 10 bytes and a size of four 7-bit bytes.
  if (size >= 10 && std::memcmp(bytes, "ID3", 3) == 0)
    at = 10 + ((bytes[6] & 0x7F) << 21 | (bytes[7] & 0x7F) << 14 | (bytes[8] & 0x7F) << 7 | (bytes[9] & 0x7F));
  if (at > size || size - at < 4) return 0;
  const uint8_t* frame = bytes + at;
  if (frame[0] != 0xFF || (frame[1] & 0xE0) != 0xE0) return 0;
  const int version = (frame[1] >> 3) & 3;  // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
  const int layer = (frame[1] >> 1) & 3;    // 1: layer III, 2: II, 3: I
  if (version == 1 || layer == 0) return 0;
  const bool mono = (frame[3] >> 6) == 3;
  const size_t sideInfo = version == 3 ? (mono ? 17 : 32) : (mono ? 9 : 17);
  const uint64_t samples = layer == 3 ? 384 : layer == 2 || version == 3 ? 1152 : 576;
  const size_t tag = 4 + sideInfo;
  if (size - at < tag + 12) return 0;
  const uint8_t* header = frame + tag;
  if (std::memcmp(header, "Xing", 4) != 0 && std::memcmp(header, "Info", 4) != 0) return 0;
  if (!(ReadU32BE(header + 4) & 1)) return 0;
  return ReadU32BE(header + 8) * samples;
}

// After "fLaC", metadata blocks of a 4-byte header (the last block's flag, a type, a 24-bit
// length) until the one flagged last; the audio frames follow it.
bool FlacMetadataFits(const uint8_t* bytes, size_t size) {
  for (size_t at = 4; size - at >= 4;) {
    const uint8_t flags = bytes[at];
    const size_t length = static_cast<size_t>(bytes[at + 1]) << 16 | static_cast<size_t>(bytes[at + 2]) << 8 | bytes[at + 3];
    at += 4;
    if (length > size - at) return false;
    at += length;
    if (flags & 0x80) return true;
  }
  return true;  // a file cut between blocks holds no frames, which the decoder says
}

}  // namespace

uint64_t AnnouncedSoundFrames(SoundFormat format, const uint8_t* bytes, size_t size) {
  switch (format) {
    case SoundCompressedWave: return FactFrames(bytes, size);
    case SoundMp3: return XingFrames(bytes, size);
    default: return 0;
  }
}

const char* SoundHeadersCutShort(SoundFormat format, const uint8_t* bytes, size_t size) {
  if (format == SoundFlac && size >= 4 && !FlacMetadataFits(bytes, size))
    return "its headers run past the end of the file (cut short or damaged)";
  return nullptr;
}
