#include "input_path.h"

#include <cstring>

#include "refusal.h"

namespace {

bool HasDriveLetter(const char* path) {
  return ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) && path[1] == ':';
}

}  // namespace

bool IsAbsolutePath(const char* path, PathStyle style) {
  if (style == PosixPaths) return path[0] == '/';
  return HasDriveLetter(path) || path[0] == '\\' || path[0] == '/';
}

bool ResolveInputPath(const char* base, const char* path, PathStyle style, char* out, size_t outSize,
                      const char** why) {
  if (style == PosixPaths && HasDriveLetter(path))
    return Refuse(why, "a Windows drive-letter path, which cannot be found on this system; give the name "
                       "relative to the base folder instead");
  if (style == PosixPaths && path[0] == '\\')
    return Refuse(why, "a path from the root of a Windows drive or a network share, which cannot be found on "
                       "this system; give the name relative to the base folder instead");
  size_t pathLength = std::strlen(path);
  size_t baseLength = (base && !IsAbsolutePath(path, style)) ? std::strlen(base) : 0;
  char separator = style == WindowsPaths ? '\\' : '/';
  bool addSeparator = baseLength > 0 && base[baseLength - 1] != separator &&
                      !(style == WindowsPaths && (base[baseLength - 1] == '/' || base[baseLength - 1] == ':'));
  size_t total = baseLength + (addSeparator ? 1 : 0) + pathLength;
  if (total + 1 > outSize) return Refuse(why, "path too long once joined to the base folder");
  std::memcpy(out, base, baseLength);
  if (addSeparator) out[baseLength] = separator;
  char* name = out + total - pathLength;
  std::memcpy(name, path, pathLength + 1);
  if (style == PosixPaths)
    for (char* p = name; *p; ++p)
      if (*p == '\\') *p = '/';
  return true;
}
