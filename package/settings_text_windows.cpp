#include <windows.h>

#include "settings_text.h"

bool WidenSettingText(const char* text, size_t length, uint16_t* out, size_t capacity, size_t* units) {
  *units = 0;
  if (length == 0) return true;
  int wide = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, static_cast<int>(length),
                                 reinterpret_cast<wchar_t*>(out), static_cast<int>(capacity));
  if (wide <= 0) return false;
  *units = static_cast<size_t>(wide);
  return true;
}
