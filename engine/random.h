// A scene's random generator. Its constants and the order of its calls are part of the scene's
// behaviour: the same seed must place and reveal the characters the same way on every platform,
// so nothing else may draw numbers from a scene's state. Each scene keeps its own, so one
// scene's draws never change another's.
#pragma once
#include <cstdint>

void SeedRandom(uint32_t* state, uint32_t seed);
// 0 to 32767.
int32_t NextRandom(uint32_t* state);
// NextRandom() % n with a remainder by 0 taken as 0: a bouncing character whose frame 0 is
// exactly as wide (or tall) as the screen has an upper limit of 0, and is placed at 0.
int32_t RandomBelow(uint32_t* state, int32_t n);
