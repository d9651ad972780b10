// The sound codec of the Windows programs, from the system's own decoders: the Audio
// Compression Manager for compressed waves (ADPCM, GSM 6.10, MP3 in a wave …, the forms every
// Windows plays), Media Foundation's source reader for MP3, FLAC and Ogg (MP3 wherever Media
// Foundation is, FLAC from Windows 10 on, Ogg where a decoder was added; under Wine whatever its
// GStreamer plugins decode). Both are loaded by name when a sound is first decoded, so the
// programs still start, and build scenes with plain waves, on systems that lack them; such
// sounds are then refused with that reason.
#pragma once
#include <windows.h>

#include "windows_sound_readers.h"

struct WindowsSoundCodec {
  SoundCodec base;
  MediaFoundationReading mediaFoundation;
  AcmReading acm;
  bool usingAcm;      // from begin to end
  char message[160];  // the last reason given, when it names the system's error
};

void OpenWindowsSoundCodec(WindowsSoundCodec* codec);
