#include <cstdlib>

#include "sound_output.h"

namespace {

bool PlayNothing(SoundOutput*, const uint8_t*, size_t, const FileSpan*, const char**) {
  return true;
}

void MoveNothing(SoundOutput*, const uint8_t*) {}

void StopNothing(SoundOutput*) {}

void ReleaseSilent(SoundOutput* output) {
  std::free(output);
}

}  // namespace

SoundOutput* OpenSilentSound() {
  SoundOutput* output = static_cast<SoundOutput*>(std::malloc(sizeof(SoundOutput)));
  if (!output) return nullptr;
  output->play = PlayNothing;
  output->move = MoveNothing;
  output->stop = StopNothing;
  output->release = ReleaseSilent;
  return output;
}
