#include "player_image_source.h"

#include <cstdlib>

#include "byte_order.h"
#include "package_records.h"

namespace {

// Where the file's Authenticode signature begins when the file is signed: signing appends the
// certificate table and names it in the PE header (data directory 4, a file offset), so a signed
// designer's player copy ends there rather than at the end of the file. size otherwise.
uint64_t EndBeforeSignature(BuildFiles* files, BuildFiles::Handle file, uint64_t size) {
  uint8_t header[1024];
  if (!files->Seek(file, 0) || ReadFully(files, file, header, sizeof header) != sizeof header) return size;
  const uint32_t pe = ReadU32LE(header + 0x3C);
  if (header[0] != 'M' || header[1] != 'Z' || pe > sizeof header - 24 - 160 || ReadU32LE(header + pe) != 0x00004550u)
    return size;
  const uint8_t* optional = header + pe + 24;
  const uint16_t magic = ReadU16LE(optional);
  const size_t directories = magic == 0x10B ? 96 : magic == 0x20B ? 112 : 0;
  if (directories == 0 || ReadU16LE(header + pe + 20) < directories + 5 * 8) return size;
  const uint64_t table = ReadU32LE(optional + directories + 4 * 8), length = ReadU32LE(optional + directories + 4 * 8 + 4);
  return length != 0 && table >= kPlayerImageSize && table + length == size ? table : size;
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
