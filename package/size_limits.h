// Every size limit of a scene, the same in the builder, the players and the tools: beyond them a
// picture, a sound or a package is refused (and named) at build time rather than allocated: far
// above any screen of the target systems, far below what would exhaust a 32-bit address space.
#pragma once
#include <cstdint>

#include "package_records.h"

#ifndef MORVANE_FUZZ_SIZE_CAPS
const int32_t kMaxBitmapSide = 16384;
// Applies both to the stored pixel bytes and to the decoded 32-bit pixels.
const uint64_t kMaxBitmapBytes = 256ull << 20;
#else
// The fuzzing build only: pictures of a thousand pixels reach every branch that large ones do,
// and a fuzzer that spends its time decoding and clearing large blocks tries far fewer inputs.
const int32_t kMaxBitmapSide = 256;
const uint64_t kMaxBitmapBytes = 4ull << 10;
#endif

// What the characters' frames of one scene may cost a player, which keeps every frame loaded:
// each pixel as a 32-bit picture and a 32-bit mask (or blending runs), 8 bytes. Within it, the
// players stay within 64 MB beside their screen-sized buffers, and a scene loads in a fraction
// of a second, whatever frames a settings file names: 200 frames of 144 x 144, or 64 of 256 x 256.
const uint64_t kMaxFrameMemoryBytes = 32ull << 20;
const uint32_t kFrameMemoryPerPixel = 8;

// The largest sound a player plays from memory, and the largest package a player reads (it
// passes over records with 32-bit signed moves).
const uint64_t kMaxSoundBytes = 256ull << 20;
const uint64_t kMaxPackageBytes = (1ull << 31) - kPlayerImageSize;

// Field offsets and values of the published DIB info header.
const uint32_t kInfoHeaderSize = 40;
const uint32_t kBiRgb = 0;
const uint32_t kBiRle8 = 1;
const uint32_t kBiRle4 = 2;
const uint32_t kBiBitfields = 3;
const uint32_t kBiAlphaBitfields = 6;
