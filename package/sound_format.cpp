#include "sound_format.h"

#include <cstring>

#include "wave_format.h"

namespace {

bool Starts(const uint8_t* head, size_t size, const char* tag) {
  const size_t length = std::strlen(tag);
  return size >= length && std::memcmp(head, tag, length) == 0;
}

// An MPEG audio frame header: sync, a layer, a bit rate other than "bad" and a sample rate.
bool MpegFrameAt(const uint8_t* head, size_t size) {
  return size >= 4 && head[0] == 0xFF && (head[1] & 0xE0) == 0xE0 && (head[1] & 0x06) != 0 &&
         (head[2] & 0xF0) != 0xF0 && (head[2] & 0x0C) != 0x0C;
}

}  // namespace

SoundFormat SniffSoundFormat(const uint8_t* head, size_t size) {
  if (size >= 12 && Starts(head, size, "RIFF") && std::memcmp(head + 8, "WAVE", 4) == 0)
    return WaveStoredAsItIs(head, size) ? SoundPlayableWave : SoundCompressedWave;
  if (Starts(head, size, "OggS")) return SoundOgg;
  if (Starts(head, size, "fLaC")) return SoundFlac;
  if (Starts(head, size, "ID3") || MpegFrameAt(head, size)) return SoundMp3;
  return SoundUnknown;
}

const char* SoundFormatName(SoundFormat format) {
  static const char* const kNames[] = {"unknown", "wave", "compressed wave", "MP3", "Ogg", "FLAC"};
  static_assert(sizeof kNames / sizeof kNames[0] == kSoundFormatCount, "a name for every format");
  return kNames[format];
}
