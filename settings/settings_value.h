// How setting texts become numbers and numbers become setting texts.
#pragma once
#include <cstddef>
#include <cstdint>

// Leading white space, one optional sign, then decimal digits up to the first other character;
// no digits give 0. Arithmetic is 32-bit and wraps, as the programs have always read them.
int32_t ParseSettingInteger(const char* text);

// Decimal digits with a leading "-" when negative; no plus sign, no leading zeros. out holds at
// least 12 bytes; returns the length written before the terminating zero.
size_t FormatSettingInteger(int32_t value, char* out);
