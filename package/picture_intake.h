// The one way a picture enters the system: a file named in the settings becomes the frame records
// the player reads (a 40-byte info header, its colour table and bottom-up pixel bits), whatever
// its format: one record for a still picture, one per frame for an animated GIF. The builder
// writes those records into the package; the designer's playback draws the same records, so
// both show the same pixels.
#pragma once
#include <cstddef>
#include <cstdint>

#include "build_files.h"
#include "frame_record.h"
#include "package_writer.h"
#include "source_bytes.h"
#include "picture_frames.h"

// The first bytes of a file that tell its format.
const size_t kPictureHeadSize = 64;

// Where the rows of a bitmap of the plain form (24 bits a pixel, uncompressed, all its rows in
// the file) lie in it: they are the record's rows as they are, so that a reader can take them a
// row at a time instead of holding them.
struct BitmapRowsInFile {
  uint64_t offset;  // of the first row stored
  uint32_t stride;
  int32_t height;
  bool topDown;     // stored top row first, where the record's rows go bottom row first
};

// A picture file being taken frame by frame, each frame a whole record that has passed the one
// check of a bitmap's shape and size caps (DibShapeProblem), the check the player's record check
// makes too.
struct PictureFile {
  BitmapRecord bitmap;  // a bitmap's one frame, until it is handed out
  bool bitmapPending;
  // A bitmap opened for its rows: its record comes without bits, which ReadBitmapFileRow then
  // reads from the file.
  bool bitmapRows;
  BitmapRowsInFile rows;
  // The file, kept open for a bitmap's rows or for the decoder, which reads it as it decodes.
  BuildFileSource source;
  PictureFrames frames;
  bool decoding;
  uint32_t delivered;
};

// Why a picture file could not be taken at all.
enum PictureOpening {
  PictureOpened,
  PictureNotOpened,    // the file seam could not open it
  PictureNotAPicture,  // no format this builder reads, or no decoder for it here
  PictureTooLarge,     // the file is over kMaxBitmapBytes
  PictureUnreadable    // a picture, but its headers or pixels cannot be read
};

// Opens the named file through the builder's file seam: a bitmap is read into its record at
// once, any other picture is handed to the platform's codecs (null: PNG, JPEG and GIF are
// refused), which read its headers now and the rest of it as they decode. False, with a reason
// (the seam's own for a file that cannot be opened) and, when opening is not null, its kind,
// when the file cannot be taken at all; ClosePictureFile is still to be called.
// rowsLater: a bitmap of the plain form is opened for its rows (see PictureFile::bitmapRows).
bool OpenPictureFile(PictureFile* file, BuildFiles* files, const char* path, PictureCodec* codecs, const char** why,
                     PictureOpening* opening = nullptr, bool rowsLater = false);

// Row y of a bitmap opened for its rows, top row first, as its record would hold it (blue,
// green, red, padded to four bytes: rows.stride bytes); false when it cannot be read.
bool ReadBitmapFileRow(PictureFile* file, int32_t y, uint8_t* row);

// The next frame: PictureFrameReady with *record (the caller releases it) and *notes (the
// PictureLookNote bits of the frame); PictureEnded; or PictureDamaged, with a reason, when this
// frame and those after it cannot be had. look says how a decoded picture's transparent pixels
// are written; it is used only when file->decoding is set.
PictureStep NextPictureFileFrame(PictureFile* file, const PictureLook& look, BitmapRecord* record, int* notes,
                                 const char** why);

// Reasons given above may live in the file's codec until this call.
void ClosePictureFile(PictureFile* file);
