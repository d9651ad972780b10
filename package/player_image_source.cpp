#include "player_image_source.h"

#include <cstdlib>

#include "authenticode_signature.h"
#include "package_records.h"

namespace {

// A signed designer's player copy ends where its signature begins.
uint64_t EndBeforeSignature(BuildFiles* files, BuildFiles::Handle file, uint64_t size) {
  uint8_t header[1024];
  if (!files->Seek(file, 0) || ReadFully(files, file, header, sizeof header) != sizeof header) return size;
  return SignatureStart(header, sizeof header, size, kPlayerImageSize);
}

}  // namespace

TrailingPlayerImage::~TrailingPlayerImage() { std::free(image_); }

const uint8_t* TrailingPlayerImage::PlayerImage(const char** why) {
  if (!image_) image_ = static_cast<uint8_t*>(std::malloc(kPlayerImageSize));
  if (!image_) {
    *why = "not enough memory for the player image";
    return nullptr;
  }
  BuildFiles::Handle file = files_->OpenForReading(path_);
  if (!file) {
    *why = files_->LastError();
    return nullptr;
  }
  uint64_t size = 0;
  bool ok = files_->SizeOf(file, &size);
  if (!ok) {
    *why = files_->LastError();
  } else if (size < kPlayerImageSize) {
    *why = "file is shorter than the 49152-byte player image";
    ok = false;
  } else {
    const uint64_t end = EndBeforeSignature(files_, file, size);
    if (!files_->Seek(file, end - kPlayerImageSize) || ReadFully(files_, file, image_, kPlayerImageSize) != kPlayerImageSize) {
      *why = "player image could not be read";
      ok = false;
    }
  }
  files_->Close(file);
  return ok ? image_ : nullptr;
}
