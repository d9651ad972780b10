// The three readers behind the Linux picture codecs, one per library. Each keeps all that it
// takes in its own state, allocated by its begin and released by its end whatever happened in
// between, so that a library's error jump can never leave anything behind.
#pragma once
#include <cstddef>
#include <cstdint>

#include "picture_codec.h"

struct PngReading;
struct JpegReading;
struct GifReading;

// Each begin stores its state in *reading even when it fails; end accepts null. The readings
// read the bytes forwards as they decode, the source kept by the caller until end.
bool BeginPng(PngReading** reading, const SourceBytes& bytes, int32_t* width, int32_t* height, const char** why);
PictureStep NextPngFrame(PngReading* reading, uint8_t* rgba, const char** why);
// Row by row, for a picture that is not interlaced.
bool BeginPngRows(PngReading* reading);
PictureStep NextPngRow(PngReading* reading, uint8_t* rgba, const char** why);
void EndPng(PngReading* reading);

bool BeginJpeg(JpegReading** reading, const SourceBytes& bytes, int32_t* width, int32_t* height, const char** why);
PictureStep NextJpegFrame(JpegReading* reading, uint8_t* rgba, const char** why);
// Row by row; damage the library only warns of is told at the last row.
PictureStep NextJpegRow(JpegReading* reading, uint8_t* rgba, const char** why);
void EndJpeg(JpegReading* reading);

bool BeginGif(GifReading** reading, const SourceBytes& bytes, int32_t* width, int32_t* height, const char** why);
PictureStep NextGifFrame(GifReading* reading, uint8_t* rgba, const char** why);
void EndGif(GifReading* reading);
