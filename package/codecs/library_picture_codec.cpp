#include "library_picture_codec.h"

#include <cstring>

#include "library_readers.h"

namespace {

LibraryPictureCodec* Self(PictureCodec* codec) {
  return reinterpret_cast<LibraryPictureCodec*>(codec);
}

void End(PictureCodec* codec) {
  LibraryPictureCodec* self = Self(codec);
  EndPng(self->png);
  EndJpeg(self->jpeg);
  EndGif(self->gif);
  self->png = nullptr;
  self->jpeg = nullptr;
  self->gif = nullptr;
  self->ready = false;
}

bool Begin(PictureCodec* codec, PictureFormat format, const SourceBytes* bytes, int32_t* width, int32_t* height,
           const char** why) {
  LibraryPictureCodec* self = Self(codec);
  End(codec);
  switch (format) {
    case PicturePng: self->ready = BeginPng(&self->png, *bytes, width, height, why); break;
    case PictureJpeg: self->ready = BeginJpeg(&self->jpeg, *bytes, width, height, why); break;
    case PictureGif: self->ready = BeginGif(&self->gif, *bytes, width, height, why); break;
    default: *why = "no decoder for this kind of picture";
  }
  return self->ready;
}

PictureStep NextFrame(PictureCodec* codec, uint8_t* rgba, const char** why) {
  LibraryPictureCodec* self = Self(codec);
  if (!self->ready) return PictureEnded;
  if (self->png) return NextPngFrame(self->png, rgba, why);
  if (self->jpeg) return NextJpegFrame(self->jpeg, rgba, why);
  if (self->gif) return NextGifFrame(self->gif, rgba, why);
  return PictureEnded;
}

bool BeginRows(PictureCodec* codec) {
  LibraryPictureCodec* self = Self(codec);
  if (!self->ready) return false;
  if (self->png) return BeginPngRows(self->png);
  return self->jpeg != nullptr;
}

PictureStep NextRow(PictureCodec* codec, uint8_t* rgba, const char** why) {
  LibraryPictureCodec* self = Self(codec);
  if (self->ready && self->png) return NextPngRow(self->png, rgba, why);
  if (self->ready && self->jpeg) return NextJpegRow(self->jpeg, rgba, why);
  return PictureEnded;
}

}  // namespace

void OpenLibraryPictureCodec(LibraryPictureCodec* codec) {
  std::memset(codec, 0, sizeof *codec);
  codec->base.begin = Begin;
  codec->base.nextFrame = NextFrame;
  codec->base.beginRows = BeginRows;
  codec->base.nextRow = NextRow;
  codec->base.end = End;
}
