#include "windows_sound_codec.h"

#include <cstring>

#include "size_limits.h"

namespace {

WindowsSoundCodec* Self(SoundCodec* codec) { return reinterpret_cast<WindowsSoundCodec*>(codec); }

SoundMessage Message(WindowsSoundCodec* self) { return SoundMessage{self->message, sizeof self->message}; }

void End(SoundCodec* codec) {
  WindowsSoundCodec* self = Self(codec);
  EndMediaFoundation(&self->mediaFoundation);
  EndAcm(&self->acm);
  self->usingAcm = false;
}

SoundOpening Begin(SoundCodec* codec, SoundFormat format, const SourceBytes* file, SoundShape* shape,
                   const char** why) {
  WindowsSoundCodec* self = Self(codec);
  End(codec);
  // Either reader takes the file into memory whole.
  if (file->size > kMaxSoundBytes) {
    *why = "sound file larger than 256 MiB";
    return SoundUnreadable;
  }
  switch (format) {
    case SoundCompressedWave:
      self->usingAcm = true;
      return BeginAcm(&self->acm, *file, shape, Message(self), why);
    case SoundMp3:
    case SoundOgg:
    case SoundFlac: return BeginMediaFoundation(&self->mediaFoundation, format, *file, shape, Message(self), why);
    default: *why = "no decoder for this kind of sound"; return SoundNotTakenHere;
  }
}

SoundStep Read(SoundCodec* codec, int16_t* samples, size_t room, size_t* frames, const char** why) {
  WindowsSoundCodec* self = Self(codec);
  if (self->usingAcm) return ReadAcm(&self->acm, samples, room, frames, Message(self), why);
  return ReadMediaFoundation(&self->mediaFoundation, samples, room, frames, Message(self), why);
}

}  // namespace

void OpenWindowsSoundCodec(WindowsSoundCodec* codec) {
  std::memset(codec, 0, sizeof *codec);
  codec->base.begin = Begin;
  codec->base.read = Read;
  codec->base.end = End;
}
