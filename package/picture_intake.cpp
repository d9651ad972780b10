#include "picture_intake.h"

#include <cstdlib>
#include <cstring>

#include "bitmap_intake.h"
#include "byte_order.h"
#include "dib_shape.h"

namespace {

// The formats this build reads, in the order they are asked.
const PictureDecoder* const kDecoders[] = {&kBitmapDecoder};

bool Refuse(const char** why, const char* reason) {
  *why = reason;
  return false;
}

class FilePictureSource : public BitmapSource {
 public:
  FilePictureSource(BuildFiles* files, BuildFiles::Handle file) : files_(files), file_(file) {}
  size_t ReadAt(uint64_t offset, void* data, size_t size) override {
    if (!files_->Seek(file_, offset)) return 0;
    return ReadFully(files_, file_, data, size);
  }

 private:
  BuildFiles* files_;
  BuildFiles::Handle file_;
};

}  // namespace

size_t MemoryBitmapSource::ReadAt(uint64_t offset, void* data, size_t size) {
  if (offset >= size_) return 0;
  size_t available = size_ - static_cast<size_t>(offset);
  size_t count = size < available ? size : available;
  std::memcpy(data, data_ + offset, count);
  return count;
}

void ReleaseBitmapRecord(BitmapRecord* record) {
  std::free(record->bits);
  record->bits = nullptr;
  record->bitsSize = 0;
}

FrameRecordParts BitmapRecordParts(const BitmapRecord& record) {
  FrameRecordParts parts = {record.infoHeader, record.colours, record.colourCount, record.bits, record.bitsSize};
  return parts;
}

uint32_t PackBitmapInfo(const BitmapRecord& record, uint8_t* info) {
  std::memcpy(info, record.infoHeader, 40);
  std::memcpy(info + 40, record.colours, 4 * static_cast<size_t>(record.colourCount));
  return 40 + 4 * record.colourCount;
}

bool IntakePicture(BitmapSource* source, BitmapRecord* record, const char** why) {
  std::memset(record, 0, sizeof(*record));
  uint8_t head[kPictureHeadSize];
  size_t got = source->ReadAt(0, head, sizeof(head));
  const PictureDecoder* decoder = nullptr;
  for (const PictureDecoder* candidate : kDecoders) {
    if (candidate->recognises(candidate, head, got)) {
      decoder = candidate;
      break;
    }
  }
  if (!decoder) return Refuse(why, "not a bitmap file (no \"BM\" signature)");
  if (!decoder->decode(decoder, source, record, why)) return false;

  const uint8_t* info = record->infoHeader;
  if (const char* problem = DibShapeProblem(ReadI32LE(info + 4), ReadI32LE(info + 8), ReadU16LE(info + 14),
                                            ReadU32LE(info + 16))) {
    ReleaseBitmapRecord(record);
    return Refuse(why, problem);
  }
  return true;
}

bool TakePictureFile(BuildFiles* files, const char* path, BitmapRecord* record, const char** why) {
  std::memset(record, 0, sizeof(*record));
  BuildFiles::Handle file = files->OpenForReading(path);
  if (!file) return Refuse(why, files->LastError());
  FilePictureSource source(files, file);
  bool ok = IntakePicture(&source, record, why);
  files->Close(file);
  return ok;
}
