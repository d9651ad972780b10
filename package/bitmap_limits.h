// Sizes beyond which a bitmap is refused rather than allocated: far above any screen of the
// target systems, far below what would exhaust a 32-bit address space.
#pragma once
#include <cstdint>

const int32_t kMaxBitmapSide = 16384;
// Applies both to the stored pixel bytes and to the decoded 32-bit pixels.
const uint64_t kMaxBitmapBytes = 256ull << 20;

// Field offsets and values of the published DIB info header.
const uint32_t kInfoHeaderSize = 40;
const uint32_t kBiRgb = 0;
const uint32_t kBiRle8 = 1;
const uint32_t kBiRle4 = 2;
const uint32_t kBiBitfields = 3;
const uint32_t kBiAlphaBitfields = 6;
