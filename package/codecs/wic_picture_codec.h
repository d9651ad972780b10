// The picture codecs of the Windows programs: the system's own imaging component (WIC). It is
// loaded by name when a picture is first read, so the programs still start, and build scenes
// of bitmaps, on systems that lack it; pictures are then refused with that reason.
#pragma once
#include <windows.h>

#include "gif_canvas.h"
#include "picture_codec.h"

struct IWICImagingFactory;
struct IWICStream;
struct IWICBitmapDecoder;
struct IWICBitmapFrameDecode;
struct IWICFormatConverter;

struct WicPictureCodec {
  PictureCodec base;
  HMODULE codecs;  // windowscodecs.dll, from begin to end
  HMODULE com;     // ole32.dll, for the thread's COM state, from begin to end
  bool comStarted;
  IWICImagingFactory* factory;
  IWICStream* stream;
  IWICBitmapDecoder* decoder;
  PictureFormat format;
  int32_t width;
  int32_t height;
  UINT frameCount;
  UINT nextFrame;
  // A still picture read row by row: its frame, converted, and the next row to copy.
  IWICBitmapFrameDecode* rowFrame;
  IWICFormatConverter* rowConverter;
  UINT nextRow;
  GifCanvas canvas;  // a GIF's; all zeros for other pictures
  // A GIF that does not end with its trailer: its whole frames with a trailer, which the codec
  // reads instead (it refuses the whole of a file cut short), from begin to end; and the reason
  // the frames after them cannot be read, null when there are none.
  uint8_t* wholeGif;
  uint8_t* file;  // the picture's whole file, from begin to end
  size_t fileSize;
  const char* afterWholeFrames;
  char message[128];  // the last reason given, when it names a codec's error
};

void OpenWicPictureCodec(WicPictureCodec* codec);
