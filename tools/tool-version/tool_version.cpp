#include "tool_version.h"

#include <cstdio>

#include "morvane_version.h"

void PrintToolVersion(const char* tool) {
  std::printf("%s (Morvane) %s\n", tool, MORVANE_VERSION);
}
