// Which kind of sound a file holds, told by its first bytes rather than by its name, and whether
// the players play it as it is stored: a RIFF wave of PCM, float, A-law or mu-law samples is
// copied into the package byte for byte, as packages have always held it; every other sound is
// decoded to a PCM wave at build time or refused.
#pragma once
#include <cstddef>
#include <cstdint>

enum SoundFormat {
  SoundUnknown,
  SoundPlayableWave,    // RIFF wave in a form every player plays: stored as it is
  SoundCompressedWave,  // RIFF wave of another form (ADPCM, GSM, MP3 in a wave …), or none named
  SoundMp3,
  SoundOgg,
  SoundFlac
};
const int kSoundFormatCount = SoundFlac + 1;

// The head of a file (its first 64 KiB or all of it, when shorter) tells its format.
SoundFormat SniffSoundFormat(const uint8_t* head, size_t size);
const size_t kSoundHeadBytes = 64 * 1024;

// "wave", "compressed wave", "MP3", "Ogg", "FLAC", "unknown", for messages.
const char* SoundFormatName(SoundFormat format);
