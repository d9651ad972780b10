#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include "settings_text.h"

// The locale's character set from the environment (LANG, LC_ALL, LC_CTYPE), without changing the
// process's own locale.
bool WidenSettingText(const char* text, size_t length, uint16_t* out, size_t capacity, size_t* units) {
  *units = 0;
  if (length == 0) return true;
  locale_t locale = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) locale = newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) return false;
  iconv_t convert = iconv_open("UTF-16LE", nl_langinfo_l(CODESET, locale));
  freelocale(locale);
  if (convert == reinterpret_cast<iconv_t>(-1)) return false;
  char* in = const_cast<char*>(text);
  size_t inLeft = length;
  char* to = reinterpret_cast<char*>(out);
  size_t toLeft = 2 * capacity;
  size_t result = iconv(convert, &in, &inLeft, &to, &toLeft);
  iconv_close(convert);
  if (result == static_cast<size_t>(-1) || inLeft != 0) return false;
  *units = (2 * capacity - toLeft) / 2;
  return true;
}
