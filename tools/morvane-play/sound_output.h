// Where the scene's looping sound goes: the desktop's sound server, or nowhere. The engine asks
// for the sound as an in-memory wave image; an output copies what it needs, so the image may
// go away once `play` returns, unless it is `lasting`: a read-only mapping of a file that stays
// as it is for as long as the program runs, played in place, whose pages the output may give
// back to the system once played.
#pragma once
#include <cstddef>
#include <cstdint>

struct SoundOutput {
  // Plays the wave image in a loop in place of whatever played. False, with the reason, when
  // it cannot be played (its format, no sound server); the scene then plays silently.
  bool (*play)(SoundOutput* output, const uint8_t* wave, size_t size, bool lasting, const char** why);
  void (*stop)(SoundOutput* output);
  void (*release)(SoundOutput* output);
};

// Plays nothing and says so to nobody: -no-sound.
SoundOutput* OpenSilentSound();
// The sound server through libpulse (PulseAudio, or PipeWire's server for its clients). Connects
// at the first sound; never starts a server of its own.
SoundOutput* OpenPulseSound();
