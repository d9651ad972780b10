#include "player_image_source.h"

#include <cstdlib>

#include "package_records.h"

TrailingPlayerImage::TrailingPlayerImage(BuildFiles* files, const char* path)
    : PlayerImageSource{PlayerImage}, files_(files), path_(path) {}

TrailingPlayerImage::~TrailingPlayerImage() { std::free(image_); }

const uint8_t* TrailingPlayerImage::PlayerImage(PlayerImageSource* source, const char** why) {
  TrailingPlayerImage* self = static_cast<TrailingPlayerImage*>(source);
  BuildFiles* files = self->files_;
  if (!self->image_) self->image_ = static_cast<uint8_t*>(std::malloc(kPlayerImageSize));
  if (!self->image_) {
    *why = "not enough memory for the player image";
    return nullptr;
  }
  BuildFiles::Handle file = files->openForReading(files, self->path_);
  if (!file) {
    *why = files->lastError(files);
    return nullptr;
  }
  uint64_t size = 0;
  bool ok = files->sizeOf(files, file, &size);
  if (!ok) {
    *why = files->lastError(files);
  } else if (size < kPlayerImageSize) {
    *why = "file is shorter than the 49152-byte player image";
    ok = false;
  } else if (!files->seek(files, file, size - kPlayerImageSize) ||
             ReadFully(files, file, self->image_, kPlayerImageSize) != kPlayerImageSize) {
    *why = "player image could not be read";
    ok = false;
  }
  files->close(files, file);
  return ok ? self->image_ : nullptr;
}
