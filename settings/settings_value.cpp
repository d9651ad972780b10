#include "settings_value.h"

int32_t ParseSettingInteger(const char* text) {
  if (!text) return 0;
  const char* p = text;
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  uint32_t value = 0;
  while (*p >= '0' && *p <= '9') value = value * 10u + static_cast<uint32_t>(*p++ - '0');
  return static_cast<int32_t>(negative ? 0u - value : value);
}

size_t FormatSettingInteger(int32_t value, char* out) {
  // Work in unsigned so that the most negative value has a magnitude too.
  uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  char digits[10];
  size_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  size_t length = 0;
  if (value < 0) out[length++] = '-';
  while (count > 0) out[length++] = digits[--count];
  out[length] = '\0';
  return length;
}
