#include "picture_intake.h"

#include <cstdlib>
#include <cstring>

#include "bitmap_intake.h"
#include "size_limits.h"
#include "byte_order.h"
#include "dib_shape.h"
#include "refusal.h"

namespace {

// The one check of a bitmap's shape and size caps, on whatever record a format gave.
bool PassesShapeCheck(BitmapRecord* record, const char** why) {
  const uint8_t* info = record->infoHeader;
  if (const char* problem = DibShapeProblem(ReadI32LE(info + 4), ReadI32LE(info + 8), ReadU16LE(info + 14),
                                            ReadU32LE(info + 16))) {
    ReleaseBitmapRecord(record);
    return Refuse(why, problem);
  }
  return true;
}

// A picture for a codec stays in its file, which the codec reads as it decodes; its size is
// capped all the same, as a record of it would be.
bool OpenForCodec(PictureFile* file, PictureCodec* codecs, const char** why, PictureOpening* opening) {
  BuildFiles* files = file->source.files;
  uint64_t size = 0;
  if (!files->sizeOf(files, file->source.file, &size)) return Refuse(why, files->lastError(files));
  if (size > kMaxBitmapBytes) {
    *opening = PictureTooLarge;
    return Refuse(why, "picture file larger than 256 MiB");
  }
  if (!codecs) *opening = PictureNotAPicture;
  file->decoding = OpenPictureFrames(&file->frames, codecs, SourceBytes{&file->source.base, 0, size}, why);
  return file->decoding;
}

}  // namespace

bool OpenPictureFile(PictureFile* file, BuildFiles* files, const char* path, PictureCodec* codecs, const char** why,
                     PictureOpening* opening, bool rowsLater) {
  std::memset(file, 0, sizeof *file);
  PictureOpening unused;
  if (!opening) opening = &unused;
  *opening = PictureUnreadable;
  BuildFiles::Handle handle = files->openForReading(files, path);
  if (!handle) {
    *opening = PictureNotOpened;
    return Refuse(why, files->lastError(files));
  }
  uint8_t head[kPictureHeadSize];
  const size_t got = files->seek(files, handle, 0) ? ReadFully(files, handle, head, sizeof head) : 0;
  file->source = MakeBuildFileSource(files, handle);
  bool ok, keepOpen;
  if (IsDecodedPicture(head, got)) {
    // Kept open even when refused: the codec that gave the reason is closed with the file.
    ok = OpenForCodec(file, codecs, why, opening);
    keepOpen = true;
  } else if (SniffPictureFormat(head, got) == PictureBmp) {
    ok = file->bitmapPending = IntakeBitmap(&file->source.base, &file->bitmap, why,
                                            rowsLater ? &file->rows : nullptr, &file->bitmapRows) &&
                               PassesShapeCheck(&file->bitmap, why);
    keepOpen = ok && file->bitmapRows;
  } else {
    *opening = PictureNotAPicture;
    ok = keepOpen = Refuse(why, "not a picture this builder reads (BMP, PNG, JPEG or GIF)");
  }
  if (!keepOpen) {
    files->close(files, handle);
    file->source.file = nullptr;
  }
  if (ok) *opening = PictureOpened;
  return ok;
}

bool ReadBitmapFileRow(PictureFile* file, int32_t y, uint8_t* row) {
  const int32_t height = file->rows.height;
  if (!file->bitmapRows || y < 0 || y >= height) return false;
  const uint64_t stored = file->rows.topDown ? y : height - 1 - y;
  ByteSource* source = &file->source.base;
  return source->readAt(source, file->rows.offset + stored * file->rows.stride, row, file->rows.stride) ==
         file->rows.stride;
}

PictureStep NextPictureFileFrame(PictureFile* file, const PictureLook& look, BitmapRecord* record, int* notes,
                                 const char** why) {
  *notes = 0;
  if (file->bitmapPending) {
    *record = file->bitmap;
    std::memset(&file->bitmap, 0, sizeof file->bitmap);
    file->bitmapPending = false;
    ++file->delivered;
    return PictureFrameReady;
  }
  if (!file->decoding) return PictureEnded;
  PictureStep step = NextPictureRecord(&file->frames, look, record, notes, why);
  if (step == PictureFrameReady && !PassesShapeCheck(record, why)) step = PictureDamaged;
  if (step == PictureEnded && file->delivered == 0) {
    *why = "the picture holds no image";
    step = PictureDamaged;
  }
  if (step == PictureFrameReady) ++file->delivered;
  return step;
}

void ClosePictureFile(PictureFile* file) {
  ClosePictureFrames(&file->frames);
  if (file->source.file) file->source.files->close(file->source.files, file->source.file);
  ReleaseBitmapRecord(&file->bitmap);
  std::memset(file, 0, sizeof *file);
}
