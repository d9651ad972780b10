#include "picture_intake.h"

#include <cstdlib>
#include <cstring>

#include "bitmap_intake.h"
#include "size_limits.h"
#include "byte_order.h"
#include "dib_shape.h"
#include "refusal.h"

namespace {

struct FilePictureSource {
  BitmapSource base;
  BuildFiles* files;
  BuildFiles::Handle file;
};

size_t ReadFileAt(BitmapSource* source, uint64_t offset, void* data, size_t size) {
  FilePictureSource* self = reinterpret_cast<FilePictureSource*>(source);
  if (!self->files->seek(self->files, self->file, offset)) return 0;
  return ReadFully(self->files, self->file, data, size);
}

}  // namespace

MemoryBitmapSource::MemoryBitmapSource(const uint8_t* data, size_t size)
    : BitmapSource{ReadAt}, data_(data), size_(size) {}

size_t MemoryBitmapSource::ReadAt(BitmapSource* source, uint64_t offset, void* data, size_t size) {
  MemoryBitmapSource* self = static_cast<MemoryBitmapSource*>(source);
  if (offset >= self->size_) return 0;
  size_t available = self->size_ - static_cast<size_t>(offset);
  size_t count = size < available ? size : available;
  std::memcpy(data, self->data_ + offset, count);
  return count;
}

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

// A picture for a codec is read whole: the codecs read it at random, and its size is capped.
bool ReadForCodec(PictureFile* file, BuildFiles* files, BuildFiles::Handle handle, PictureCodec* codecs,
                  const char** why, PictureOpening* opening) {
  uint64_t size = 0;
  if (!files->sizeOf(files, handle, &size)) return Refuse(why, files->lastError(files));
  if (size > kMaxBitmapBytes) {
    *opening = PictureTooLarge;
    return Refuse(why, "picture file larger than 256 MiB");
  }
  if (!codecs) *opening = PictureNotAPicture;
  file->bytes = static_cast<uint8_t*>(std::malloc(size > 0 ? static_cast<size_t>(size) : 1));
  if (!file->bytes) return Refuse(why, "not enough memory for the picture file");
  if (!files->seek(files, handle, 0) || ReadFully(files, handle, file->bytes, static_cast<size_t>(size)) != size)
    return Refuse(why, "picture file could not be read whole");
  file->decoding = OpenPictureFrames(&file->frames, codecs, file->bytes, static_cast<size_t>(size), why);
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
  bool ok;
  if (IsDecodedPicture(head, got)) {
    ok = ReadForCodec(file, files, handle, codecs, why, opening);
  } else if (SniffPictureFormat(head, got) == PictureBmp) {
    FilePictureSource source = {{ReadFileAt}, files, handle};
    ok = file->bitmapPending =
        IntakeBitmap(&source.base, &file->bitmap, why, rowsLater ? &file->rows : nullptr, &file->bitmapRows) &&
        PassesShapeCheck(&file->bitmap, why);
    if (ok && file->bitmapRows) {
      file->files = files;
      file->handle = handle;
      handle = nullptr;
    }
  } else {
    *opening = PictureNotAPicture;
    ok = Refuse(why, "not a picture this builder reads (BMP, PNG, JPEG or GIF)");
  }
  if (handle) files->close(files, handle);
  if (ok) *opening = PictureOpened;
  return ok;
}

bool ReadBitmapFileRow(PictureFile* file, int32_t y, uint8_t* row) {
  const int32_t height = file->rows.height;
  if (!file->bitmapRows || y < 0 || y >= height) return false;
  const uint64_t stored = file->rows.topDown ? y : height - 1 - y;
  return file->files->seek(file->files, file->handle, file->rows.offset + stored * file->rows.stride) &&
         ReadFully(file->files, file->handle, row, file->rows.stride) == file->rows.stride;
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
  if (file->handle) file->files->close(file->files, file->handle);
  ClosePictureFrames(&file->frames);
  std::free(file->bytes);
  ReleaseBitmapRecord(&file->bitmap);
  std::memset(file, 0, sizeof *file);
}
