// 32-bit arithmetic that wraps like the original machine's instead of being undefined: speeds,
// steps and positions come from the package unchecked.
#pragma once
#include <cstdint>

inline int32_t WrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

inline int32_t WrapNeg(int32_t a) {
  return static_cast<int32_t>(0u - static_cast<uint32_t>(a));
}

inline int32_t WrapMul(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}
