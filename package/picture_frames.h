// A PNG, JPEG or GIF file, or a bitmap wrapping a PNG or JPEG, read frame by frame into package
// records through a platform's picture decoder: sizes checked before any pixel is allocated,
// transparency settled for the player, one frame in memory at a time.
#pragma once
#include <cstddef>
#include <cstdint>

#include "picture_codec.h"
#include "picture_transparency.h"

struct BitmapRecord;  // picture_intake.h

struct PictureFrames {
  PictureCodec* codec;
  int32_t width;
  int32_t height;
  uint8_t* rgba;  // one frame, made at the first; owned
  // What the codec began on, so that the rows can be read again.
  PictureFormat format;
  SourceBytes bytes;
};

// Whether a file starting with these bytes is for the picture decoders rather than for the
// bitmap intake: PNG, JPEG, GIF, or a bitmap whose pixels are a PNG or JPEG file.
bool IsDecodedPicture(const uint8_t* bytes, size_t size);

// file: the whole file, its source kept by the caller until ClosePictureFrames; the codec reads
// it in pieces as it decodes. codec may be null (a build without codecs): the file is then
// refused with that reason. False, with a reason, for a file that cannot be read;
// ClosePictureFrames is still to be called.
bool OpenPictureFrames(PictureFrames* frames, PictureCodec* codec, const SourceBytes& file, const char** why);

// The next frame as a record (PictureFrameReady; the caller releases *record), PictureEnded, or
// PictureDamaged with a reason. *notes gets the PictureLookNote bits of the frame.
PictureStep NextPictureRecord(PictureFrames* frames, const PictureLook& look, BitmapRecord* record, int* notes,
                              const char** why);

// Instead of NextPictureRecord, for a picture that is one still frame the decoder hands row by
// row: true, and the rows then come from NextPictureRow, so that the picture is never held
// whole. False: it is to be read whole.
bool BeginPictureRows(PictureFrames* frames);
// The next row (width pixels of R, G, B, A, top row first) prepared for a look without
// transparent sprites, as NextPictureRecord prepares a whole frame: PictureFrameReady,
// PictureEnded after the last row, or PictureDamaged with a reason.
PictureStep NextPictureRow(PictureFrames* frames, const PictureLook& look, uint8_t* rgba, const char** why);
// As NextPictureRow, for a row the caller passes over: read, but not prepared.
PictureStep PassPictureRow(PictureFrames* frames, uint8_t* rgba, const char** why);
// From the first row again (the decoder begins anew); false, with a reason, when it cannot.
bool RestartPictureRows(PictureFrames* frames, const char** why);

// Reasons given above may live in the decoder until this call.
void ClosePictureFrames(PictureFrames* frames);
