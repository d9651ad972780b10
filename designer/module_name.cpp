#include "module_name.h"

#include <cstring>

bool FixUpModuleName(char* name, size_t size, LeadBytePredicate isLeadByte) {
  for (unsigned char* p = reinterpret_cast<unsigned char*>(name); *p; ++p) {
    if (isLeadByte && isLeadByte(*p)) {
      if (p[1] == '\0') break;
      ++p;
      continue;
    }
    if (*p >= 'A' && *p <= 'Z') *p = static_cast<unsigned char>(*p - 'A' + 'a');
  }
  if (std::strstr(name, ".scr")) return false;
  const char extension[] = ".scr";
  size_t length = std::strlen(name);
  size_t room = size > length + 1 ? size - length - 1 : 0;
  size_t add = room < 4 ? room : 4;
  std::memcpy(name + length, extension, add);
  name[length + add] = '\0';
  return add > 0;
}
