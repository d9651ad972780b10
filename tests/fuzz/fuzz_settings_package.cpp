// Any settings file, with the pictures it names held in memory: the builder writes a package that
// the strict reader accepts and the player's loading plays; and the designer's playback of the
// settings shows the same pictures as the packaged saver, whatever the settings left out. (fuzz_support.h: the input's form.)
#include <cstdlib>
#include <cstring>

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SettingsInput input(data, size);
  MemoryFiles files(input.picture, input.pictureSize);
  static Pictures fromPackage, fromSettings;
  PlayPackage(&input, &files, &fromPackage);
  PlaySettings(&input, &files, &fromSettings);
  if (std::memcmp(&fromSettings, &fromPackage, sizeof fromPackage) != 0) std::abort();
  return 0;
}
