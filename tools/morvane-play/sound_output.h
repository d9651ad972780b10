// Where the scene's looping sound goes: the desktop's sound server, or nowhere. The engine hands
// the sound over as a wave image in memory, and an output plays it in place, copying nothing:
// either from that memory, which stays where it is until the output is stopped or plays another
// sound, or, where the image lies in a file that stays open as long as it plays (a packaged
// saver, a settings file's wave), from the file, by positioned reads.
#pragma once
#include <cstddef>
#include <cstdint>

#include "mapped_saver.h"

struct SoundOutput {
  // Plays the wave image in a loop in place of whatever played; `file`, where not null, tells
  // where the image lies in its file, and only the header is read from `wave` then. False, with
  // the reason, when it cannot be played (its format, no sound server); the scene then plays
  // silently.
  bool (*play)(SoundOutput* output, const uint8_t* wave, size_t size, const FileSpan* file, const char** why);
  // The same image, played from memory, now lies at `wave`: the play goes on from there, and
  // the old one may go.
  void (*move)(SoundOutput* output, const uint8_t* wave);
  void (*stop)(SoundOutput* output);
  void (*release)(SoundOutput* output);
};

// Plays nothing and says so to nobody: -no-sound.
SoundOutput* OpenSilentSound();
// The sound server through libpulse (PulseAudio, or PipeWire's server for its clients). Connects
// at the first sound; never starts a server of its own.
SoundOutput* OpenPulseSound();
