// The picture codecs of the Linux tools: libpng, libjpeg-turbo and giflib, as Debian ships
// them.
#pragma once
#include "picture_codec.h"

struct PngReading;
struct JpegReading;
struct GifReading;

struct LibraryPictureCodec {
  PictureCodec base;
  bool ready;  // begin succeeded and end has not come yet
  PngReading* png;
  JpegReading* jpeg;
  GifReading* gif;
};

void OpenLibraryPictureCodec(LibraryPictureCodec* codec);
