// The size a PNG, JPEG or GIF file states for itself, read from its headers alone. A codec that
// allocates as it opens a file (the system's imaging component may decode a whole file before
// it answers a question) is handed only files whose sizes have passed the caps here first.
#pragma once
#include <cstddef>
#include <cstdint>

#include "picture_format.h"

// *width and *height: a PNG's or JPEG's image, a GIF's logical screen. For a GIF every frame
// found in the file is checked against the caps too. False, with a reason, when a header is
// missing or cut short, or a size is beyond the caps.
bool ReadPictureHeaderSize(PictureFormat format, const uint8_t* bytes, size_t size, int32_t* width, int32_t* height,
                           const char** why);

// How the walk of a GIF's records ended: at its trailer; at the end of the bytes between
// records (many writers leave the trailer out); inside a record whose bytes run out; at a byte
// that starts no record.
enum GifEnding { GifEndsWithTrailer, GifEndsWithoutTrailer, GifCutShort, GifUnknownRecord };

// A GIF's whole frames: how many image records are complete, and the offset just past the last
// of them (past the header and colour table when there is none), before the walk ended. A
// decoder that refuses a file cut short as a whole is handed the bytes up to there with a
// trailer, and so gives the same whole frames as one that reads record by record.
struct GifExtent {
  uint32_t wholeFrames;
  size_t wholeEnd;
  GifEnding ending;
};

// False, with a reason, as ReadPictureHeaderSize for a GIF. With a cap, the walk stops after
// that many image records, as if the file ended there without its trailer.
bool ReadGifExtent(const uint8_t* bytes, size_t size, GifExtent* extent, const char** why,
                   uint32_t frameCap = UINT32_MAX);

// The reason for the frames after the whole ones, as a record-by-record reader gives it; null
// for an ending that is no damage.
const char* GifEndingProblem(GifEnding ending);
extern const char kGifEndsEarly[];
extern const char kGifUnknownRecord[];
// A frame whose records are whole but whose image data does not decode.
extern const char kGifImageDamaged[];
