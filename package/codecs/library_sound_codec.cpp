#include "library_sound_codec.h"

#include <cstring>

#include "library_sound_readers.h"

namespace {

LibrarySoundCodec* Self(SoundCodec* codec) { return reinterpret_cast<LibrarySoundCodec*>(codec); }

SoundMessage Message(LibrarySoundCodec* self) { return SoundMessage{self->message, sizeof self->message}; }

void End(SoundCodec* codec) {
  LibrarySoundCodec* self = Self(codec);
  EndMpg123(self->mp3);
  EndSndfile(self->others);
  self->mp3 = nullptr;
  self->others = nullptr;
}

SoundOpening Begin(SoundCodec* codec, SoundFormat format, const SourceBytes* file, SoundShape* shape,
                   const char** why) {
  LibrarySoundCodec* self = Self(codec);
  End(codec);
  switch (format) {
    case SoundMp3: return BeginMpg123(&self->mp3, *file, shape, Message(self), why);
    case SoundCompressedWave:
    case SoundOgg:
    case SoundFlac: return BeginSndfile(&self->others, format, *file, shape, Message(self), why);
    default: *why = "no decoder for this kind of sound"; return SoundNotTakenHere;
  }
}

SoundStep Read(SoundCodec* codec, int16_t* samples, size_t room, size_t* frames, const char** why) {
  LibrarySoundCodec* self = Self(codec);
  if (self->mp3) return ReadMpg123(self->mp3, samples, room, frames, Message(self), why);
  return ReadSndfile(self->others, samples, room, frames, Message(self), why);
}

}  // namespace

void OpenLibrarySoundCodec(LibrarySoundCodec* codec) {
  std::memset(codec, 0, sizeof *codec);
  codec->base.begin = Begin;
  codec->base.read = Read;
  codec->base.end = End;
}
