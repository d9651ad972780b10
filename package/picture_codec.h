// The seam between the builder and a platform's picture codecs: the Linux tools decode PNG, JPEG
// and GIF with Debian's libraries, the Windows programs with the system's imaging component.
// Either way a picture comes out as plain RGBA frames, and everything after that (composition
// of GIF frames aside, transparency, the record) is the same portable code, so that both give
// the same package for the same PNG or GIF file.
#pragma once
#include <cstddef>
#include <cstdint>

#include "source_bytes.h"
#include "picture_format.h"

enum PictureStep {
  PictureFrameReady,  // *rgba holds the next frame
  PictureEnded,       // the picture has no further frame
  PictureDamaged      // the frame could not be decoded; *why says why
};

// PictureDamaged, with the reason in *why.
inline PictureStep Damaged(const char** why, const char* reason) {
  *why = reason;
  return PictureDamaged;
}

struct PictureCodec {
  // Starts on the picture's bytes (the caller keeps their source until `end`; the codec reads
  // them as it goes) and reads no further than its headers: *width and *height are the
  // picture's size (a GIF's logical screen), already checked against the bitmap size caps
  // before the codec allocated anything for the pixels. False, with a reason, for a file the
  // codec refuses; `end` is still to be called.
  bool (*begin)(PictureCodec* codec, PictureFormat format, const SourceBytes* bytes, int32_t* width,
                int32_t* height, const char** why);
  // The next frame as a viewer shows it, into width * height pixels of R, G, B, A bytes, top
  // row first. An animated GIF's frames come composed, their disposal methods honoured.
  PictureStep (*nextFrame)(PictureCodec* codec, uint8_t* rgba, const char** why);
  // Instead of nextFrame, for a picture that is one still frame: true when the codec can hand it
  // row by row, each nextRow then giving the next row (width pixels of R, G, B, A, top row
  // first), so that the picture is never held whole; false for one it reads only whole (an
  // animation, an interlaced PNG). Either may be null in a codec that reads every picture whole.
  bool (*beginRows)(PictureCodec* codec);
  PictureStep (*nextRow)(PictureCodec* codec, uint8_t* rgba, const char** why);
  // Releases whatever `begin` and `nextFrame` took; the codec can begin again afterwards.
  // A reason given by `begin` or `nextFrame` may be held by the codec until this call.
  void (*end)(PictureCodec* codec);
};
