#include "player_image_source.h"

#include <cstdlib>

#include "authenticode_signature.h"
#include "package_records.h"

namespace {

// A signed designer's player copy ends where its signature begins.
uint64_t EndBeforeSignature(BuildFiles* files, BuildFiles::Handle file, uint64_t size) {
  uint8_t header[1024];
  if (!files->seek(files, file, 0) || ReadFully(files, file, header, sizeof header) != sizeof header) return size;
  return SignatureStart(header, sizeof header, size, kPlayerImageSize);
}

}  // namespace

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
  } else {
    const uint64_t end = EndBeforeSignature(files, file, size);
    if (!files->seek(files, file, end - kPlayerImageSize) ||
        ReadFully(files, file, self->image_, kPlayerImageSize) != kPlayerImageSize) {
      *why = "player image could not be read";
      ok = false;
    }
  }
  files->close(files, file);
  return ok ? self->image_ : nullptr;
}
