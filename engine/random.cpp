#include "random.h"

void SeedRandom(uint32_t* state, uint32_t seed) {
  *state = seed;
}

int32_t NextRandom(uint32_t* state) {
  *state = *state * 214013u + 2531011u;
  return static_cast<int32_t>((*state >> 16) & 0x7FFF);
}

int32_t RandomBelow(uint32_t* state, int32_t n) {
  int32_t value = NextRandom(state);
  // The number is still drawn, so that the sequence of later calls does not depend on n.
  return n == 0 ? 0 : value % n;
}
