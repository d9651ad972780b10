#include "command_line.h"

namespace {

const char* SkipSpaces(const char* p) {
  while (*p == ' ') ++p;
  return p;
}

}  // namespace

const char* SkipProgramName(const char* commandLine, CharacterStep step) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(commandLine);
  if (*p == '"') {
    // Quoted names may hold spaces; step by whole characters so a trail byte never ends them.
    const char* q = step(reinterpret_cast<const char*>(p));
    while (*q != '\0' && *q != '"') q = step(q);
    if (*q == '"') ++q;
    p = reinterpret_cast<const unsigned char*>(q);
  } else {
    while (*p > 0x20) ++p;
  }
  while (*p >= 0x01 && *p <= 0x20) ++p;
  return reinterpret_cast<const char*>(p);
}

uint32_t ParseWindowHandle(const char* text) {
  uint32_t value = 0;
  for (const char* p = text; *p >= '0' && *p <= '9'; ++p) value = value * 10u + uint32_t(*p - '0');
  return value;
}

SaverCommand ParseSaverCommand(const char* tail) {
  const char* p = tail;
  while (*p == ' ' || *p == '-' || *p == '/') ++p;
  switch (*p) {
    case '\0':
      return {SaverModeConfigure, 0, false};
    case 'S': case 's':
      return {SaverModeRun, 0, false};
    case 'P': case 'p': case 'L': case 'l':
      return {SaverModePreview, ParseWindowHandle(SkipSpaces(p + 1)), false};
    case 'C': case 'c':
      // Only a colon introduces the parent; '/c 1234' configures under the foreground window.
      return {SaverModeConfigure, p[1] == ':' ? ParseWindowHandle(p + 2) : 0, true};
    case 'A': case 'a':
      return {SaverModeChangePassword, ParseWindowHandle(SkipSpaces(p + 1)), true};
    default:
      return {SaverModeRefused, 0, false};
  }
}
