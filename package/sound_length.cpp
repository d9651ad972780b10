#include "sound_length.h"

#include <cstring>

#include "byte_order.h"

namespace {

uint32_t ReadU32BE(const uint8_t* at) {
  return (static_cast<uint32_t>(at[0]) << 24) | (static_cast<uint32_t>(at[1]) << 16) |
         (static_cast<uint32_t>(at[2]) << 8) | at[3];
}

uint64_t FactFrames(const SourceBytes& file) {
  const uint64_t size = file.size;
  SourceWindow window;
  StartSourceWindow(&window, file);
  for (uint64_t at = 12; size >= 12 && size - at >= 8;) {
    const uint8_t* chunk = SourceBytesAt(&window, at, 8);
    if (!chunk) return 0;
    const uint32_t length = ReadU32LE(chunk + 4);
    if (std::memcmp(chunk, "data", 4) == 0) return 0;
    if (std::memcmp(chunk, "fact", 4) == 0) {
      const uint8_t* frames = length >= 4 && size - at - 8 >= 4 ? SourceBytesAt(&window, at + 8, 4) : nullptr;
      return frames ? ReadU32LE(frames) : 0;
    }
    const uint64_t next = at + 8 + length + (length & 1);
    if (next > size) return 0;
    at = next;
  }
  return 0;
}

// The first frame's Xing or Info header (which LAME and most encoders write): its frame count
// times the samples of a frame.
uint64_t XingFrames(const SourceBytes& file) {
  const uint64_t size = file.size;
  uint64_t at = 0;
  // An ID3v2 tag first: 10 bytes and a size of four 7-bit bytes. The tag itself, pictures and
  // all, is passed over unread.
  uint8_t tag[10];
  if (size >= 10 && ReadSourceBytes(file, 0, tag, sizeof tag) == sizeof tag && std::memcmp(tag, "ID3", 3) == 0)
    at = 10 + ((tag[6] & 0x7F) << 21 | (tag[7] & 0x7F) << 14 | (tag[8] & 0x7F) << 7 | (tag[9] & 0x7F));
  if (at > size || size - at < 4) return 0;
  // The frame header, the largest side information and the Xing header's first 12 bytes.
  uint8_t frame[4 + 32 + 12];
  const size_t got = ReadSourceBytes(file, at, frame, sizeof frame);
  if (got < 4) return 0;
  if (frame[0] != 0xFF || (frame[1] & 0xE0) != 0xE0) return 0;
  const int version = (frame[1] >> 3) & 3;  // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
  const int layer = (frame[1] >> 1) & 3;    // 1: layer III, 2: II, 3: I
  if (version == 1 || layer == 0) return 0;
  const bool mono = (frame[3] >> 6) == 3;
  const size_t sideInfo = version == 3 ? (mono ? 17 : 32) : (mono ? 9 : 17);
  const uint64_t samples = layer == 3 ? 384 : layer == 2 || version == 3 ? 1152 : 576;
  const size_t header = 4 + sideInfo;
  if (got < header + 12) return 0;
  const uint8_t* xing = frame + header;
  if (std::memcmp(xing, "Xing", 4) != 0 && std::memcmp(xing, "Info", 4) != 0) return 0;
  if (!(ReadU32BE(xing + 4) & 1)) return 0;
  return ReadU32BE(xing + 8) * samples;
}

// After "fLaC", metadata blocks of a 4-byte header (the last block's flag, a type, a 24-bit
// length) until the one flagged last; the audio frames follow it.
bool FlacMetadataFits(const SourceBytes& file) {
  const uint64_t size = file.size;
  SourceWindow window;
  StartSourceWindow(&window, file);
  for (uint64_t at = 4; size - at >= 4;) {
    const uint8_t* header = SourceBytesAt(&window, at, 4);
    if (!header) return true;  // unreadable here: the decoder says so as it reads
    const uint8_t flags = header[0];
    const uint64_t length = static_cast<uint64_t>(header[1]) << 16 | static_cast<uint64_t>(header[2]) << 8 | header[3];
    at += 4;
    if (length > size - at) return false;
    at += length;
    if (flags & 0x80) return true;
  }
  return true;  // a file cut between blocks holds no frames, which the decoder says
}

}  // namespace

uint64_t AnnouncedSoundFrames(SoundFormat format, const SourceBytes& file) {
  switch (format) {
    case SoundCompressedWave: return FactFrames(file);
    case SoundMp3: return XingFrames(file);
    default: return 0;
  }
}

const char* SoundHeadersCutShort(SoundFormat format, const SourceBytes& file) {
  if (format == SoundFlac && file.size >= 4 && !FlacMetadataFits(file))
    return "its headers run past the end of the file (cut short or damaged)";
  return nullptr;
}
