// How many frames a sound's own headers announce, read by the builder itself so that a sound cut
// short is told the same way whichever system decodes it: a compressed wave's fact chunk, an
// MP3's Xing or Info frame. 0 when the file says nothing (decoders may still know, as FLAC's do).
#pragma once
#include <cstddef>
#include <cstdint>

#include "sound_format.h"
#include "source_bytes.h"

// Both read only the headers they look at, from the file where it lies.
uint64_t AnnouncedSoundFrames(SoundFormat format, const SourceBytes& file);

// A reason when the file's own headers run past its end (a FLAC metadata block longer than the
// bytes left): refused before a decoder allocates what the header asks for, and alike on every
// system, where one decoder might fail and another pass over it. Null otherwise.
const char* SoundHeadersCutShort(SoundFormat format, const SourceBytes& file);
