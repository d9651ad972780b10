// Which kind of picture a file holds, told by its first bytes rather than by its name, so that
// a PNG saved as ".bmp" or a JPEG without an extension is still read as what it is.
#pragma once
#include <cstddef>
#include <cstdint>

enum PictureFormat { PictureUnknown, PictureBmp, PicturePng, PictureJpeg, PictureGif };

// The first bytes of a file (kPictureFormatBytes are enough) tell its format.
const size_t kPictureFormatBytes = 12;
PictureFormat SniffPictureFormat(const uint8_t* head, size_t size);

// "BMP", "PNG", "JPEG", "GIF", for messages.
const char* PictureFormatName(PictureFormat format);

// Null when a picture of this size can be decoded within the bitmap size caps, else the reason.
const char* PictureSizeProblem(int64_t width, int64_t height);
