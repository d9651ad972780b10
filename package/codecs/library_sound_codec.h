// The sound codec of the Linux tools: Debian's libmpg123 for MP3 and libsndfile for the
// compressed wave forms (ADPCM, GSM 6.10 …), Ogg Vorbis and Opus, and FLAC.
#pragma once
#include "sound_codec.h"

struct Mpg123Reading;
struct SndfileReading;

struct LibrarySoundCodec {
  SoundCodec base;
  Mpg123Reading* mp3;      // from begin to end, for an MP3
  SndfileReading* others;  // from begin to end, for any other sound
  char message[192];       // the last reason given, when it carries the library's words
};

void OpenLibrarySoundCodec(LibrarySoundCodec* codec);
