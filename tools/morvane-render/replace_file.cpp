#include "replace_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

std::string TemporaryNameFor(const std::string& path) {
  return path + ".part-" + std::to_string(static_cast<long>(getpid()));
}

bool ReplaceWith(const std::string& temporary, const std::string& path, std::string* problem) {
  if (std::rename(temporary.c_str(), path.c_str()) == 0) return true;
  *problem = path + ": " + std::strerror(errno);
  std::remove(temporary.c_str());
  return false;
}
