// Any bytes after the player image: the reader must stop inside them, and whatever frames it
// accepts must be decodable without reading outside their record.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "dib_image.h"
#include "package_reader.h"

namespace {

void DecodeFrame(const FrameRecordView& frame) {
  DibPixels pixels;
  const char* why = nullptr;
  if (DecodeDib(frame.header, frame.headerSize, frame.bits, frame.bitsSize, &pixels, &why)) ReleaseDibPixels(&pixels);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoLineView lines[kMemoLineCount];
  PackageError error;
  size_t end = 0;
  bool memo = ReadMemoBlock(data, size, lines, &end, &error);
  if (!memo && error.offset > size) std::abort();

  static ScenePackageView view;
  if (!ReadScenePackage(data, size, &view, &error)) {
    if (error.offset > size || !error.reason) std::abort();
    return 0;
  }
  if (!memo || view.characterCount > static_cast<uint32_t>(kCharacterCount)) std::abort();
  for (uint32_t i = 0; i < view.characterCount; ++i)
    for (uint32_t k = 0; k < view.characters[i].frameCount; ++k) DecodeFrame(view.characters[i].frames[k]);
  if (view.background.wallpaper != 0) DecodeFrame(view.wallpaper);
  return 0;
}
