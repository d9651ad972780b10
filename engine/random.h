// The engine's random generator. Its constants and the order of its calls are part of the
// scene's behaviour: the same seed must place and reveal the characters the same way on every
// platform, so nothing else may draw numbers from it.
#pragma once
#include <cstdint>

void SeedRandom(uint32_t seed);
// 0 to 32767.
int32_t NextRandom();
// NextRandom() % n with a remainder by 0 taken as 0: a bouncing character whose frame 0 is
// exactly as wide (or tall) as the screen has an upper limit of 0, and is placed at 0.
int32_t RandomBelow(int32_t n);
