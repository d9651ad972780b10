// Any bytes as a process command line: the program name is passed over without reading past the
// end, whether a double-byte character steps or not, and the tail gives one mode whose window is
// the number the grammar promises; the same option written plainly reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "command_line.h"

namespace {

// CharNextA of the Japanese code page: a lead byte takes its trail byte with it, never the end.
const char* ShiftJisStep(const char* p) {
  const unsigned char c = static_cast<unsigned char>(*p);
  if (c == 0) return p;
  if (((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) && p[1] != '\0') return p + 2;
  return p + 1;
}

const char* ByteStep(const char* p) { return *p ? p + 1 : p; }

void Check(const std::string& line, CharacterStep step) {
  const char* tail = SkipProgramName(line.c_str(), step);
  if (tail < line.c_str() || tail > line.c_str() + line.size()) std::abort();
  if (*tail != '\0' && static_cast<unsigned char>(*tail) <= 0x20) std::abort();

  SaverCommand command = ParseSaverCommand(tail);
  const char* p = tail;
  while (*p == ' ' || *p == '-' || *p == '/') ++p;
  switch (command.mode) {
    case SaverModeConfigure:
      if (*p != '\0' && *p != 'c' && *p != 'C') std::abort();
      if (*p == '\0' && (command.window != 0 || command.foregroundFallback)) std::abort();
      break;
    case SaverModeRun:
      if ((*p != 's' && *p != 'S') || command.window != 0) std::abort();
      break;
    case SaverModePreview:
    case SaverModeChangePassword:
      break;
    case SaverModeRefused:
      if (command.window != 0) std::abort();
      return;
    default:
      std::abort();
  }
  // Written plainly, the chosen mode and window read back the same.
  if (command.mode == SaverModeRun || (command.mode == SaverModeConfigure && *p == '\0')) return;
  char plain[32];
  const char letter = command.mode == SaverModePreview ? 'p' : command.mode == SaverModeChangePassword ? 'a' : 'c';
  std::snprintf(plain, sizeof plain, letter == 'c' ? "/%c:%lu" : "/%c %lu", letter,
                static_cast<unsigned long>(command.window));
  SaverCommand again = ParseSaverCommand(plain);
  if (again.mode != command.mode || again.window != command.window) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The process's command line is a terminated string; bytes after a zero never reach the grammar.
  std::string line(reinterpret_cast<const char*>(data), size);
  line.resize(std::strlen(line.c_str()));
  Check(line, ShiftJisStep);
  Check(line, ByteStep);
  return 0;
}
