#include "random.h"

namespace {
uint32_t randomState = 1;
}

void SeedRandom(uint32_t seed) {
  randomState = seed;
}

int32_t NextRandom() {
  randomState = randomState * 214013u + 2531011u;
  return static_cast<int32_t>((randomState >> 16) & 0x7FFF);
}

int32_t RandomBelow(int32_t n) {
  int32_t value = NextRandom();
  // The number is still drawn, so that the sequence of later calls does not depend on n.
  return n == 0 ? 0 : value % n;
}
