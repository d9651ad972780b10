#include "input_path.h"

#include <cstring>

bool IsAbsolutePath(const char* path, PathStyle style) {
  if (style == PosixPaths) return path[0] == '/';
  bool driveLetter = ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) && path[1] == ':';
  return driveLetter || path[0] == '\\' || path[0] == '/';
}

bool ResolveInputPath(const char* base, const char* path, PathStyle style, char* out, size_t outSize) {
  size_t pathLength = std::strlen(path);
  size_t baseLength = (base && !IsAbsolutePath(path, style)) ? std::strlen(base) : 0;
  char separator = style == WindowsPaths ? '\\' : '/';
  bool addSeparator = baseLength > 0 && base[baseLength - 1] != separator &&
                      !(style == WindowsPaths && (base[baseLength - 1] == '/' || base[baseLength - 1] == ':'));
  size_t total = baseLength + (addSeparator ? 1 : 0) + pathLength;
  if (total + 1 > outSize) return false;
  std::memcpy(out, base, baseLength);
  if (addSeparator) out[baseLength] = separator;
  std::memcpy(out + total - pathLength, path, pathLength + 1);
  return true;
}
