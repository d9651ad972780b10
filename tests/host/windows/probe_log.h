// A line log shared by the probe program and the test-built system modules: each appends to the
// file named by MORVANE_PROBE_LOG, so a test can read what happened inside another process.
#pragma once
#include <windows.h>

#include <cstdarg>
#include <cstdio>

inline void ProbeLog(const char* format, ...) {
  char path[MAX_PATH];
  if (!GetEnvironmentVariableA("MORVANE_PROBE_LOG", path, sizeof path)) return;
  FILE* file = std::fopen(path, "ab");
  if (!file) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(file, format, args);
  va_end(args);
  std::fputc('\n', file);
  std::fclose(file);
}
