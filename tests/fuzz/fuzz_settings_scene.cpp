// Any settings file, with the pictures it names held in memory: the designer's playback loads,
// paints and releases the scene without reading or writing outside a buffer and without leaving
// a surface behind. (fuzz_support.h: the input's form.)
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SettingsInput input(data, size);
  MemoryFiles files(input.picture, input.pictureSize);
  static Pictures pictures;
  PlaySettings(&input, &files, &pictures);
  return 0;
}
