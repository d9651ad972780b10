// The two readers behind the Linux sound codec: libmpg123 for MP3, libsndfile for the rest. Each
// keeps what it takes in its own state, allocated by its begin and released by its end, and
// reads the file through a buffer as the library asks for it; a reason it gives is written into
// the caller's message buffer, which outlives the reader.
#pragma once
#include <cstddef>
#include <cstdint>

#include "sound_codec.h"
#include "source_bytes.h"

struct Mpg123Reading;
struct SndfileReading;

// Each begin stores its state in *reading even when it fails; end accepts null.
SoundOpening BeginMpg123(Mpg123Reading** reading, const SourceBytes& file, SoundShape* shape, SoundMessage message,
                         const char** why);
SoundStep ReadMpg123(Mpg123Reading* reading, int16_t* samples, size_t room, size_t* frames, SoundMessage message,
                     const char** why);
void EndMpg123(Mpg123Reading* reading);

SoundOpening BeginSndfile(SndfileReading** reading, SoundFormat format, const SourceBytes& sound, SoundShape* shape,
                          SoundMessage message, const char** why);
SoundStep ReadSndfile(SndfileReading* reading, int16_t* samples, size_t room, size_t* frames, SoundMessage message,
                      const char** why);
void EndSndfile(SndfileReading* reading);
