#include "player_image_source.h"

#include "package_records.h"

bool TrailingPlayerImage::ReadPlayerImage(uint8_t* image, const char** why) {
  BuildFiles::Handle file = files_->OpenForReading(path_);
  if (!file) {
    *why = files_->LastError();
    return false;
  }
  uint64_t size = 0;
  bool ok = files_->SizeOf(file, &size);
  if (!ok) {
    *why = files_->LastError();
  } else if (size < kPlayerImageSize) {
    *why = "file is shorter than the 49152-byte player image";
    ok = false;
  } else if (!files_->Seek(file, size - kPlayerImageSize) ||
             ReadFully(files_, file, image, kPlayerImageSize) != kPlayerImageSize) {
    *why = "player image could not be read";
    ok = false;
  }
  files_->Close(file);
  return ok;
}
