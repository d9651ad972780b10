// What a running saver holds, read from another process of the same session: GDI objects, user
// objects, kernel handles and private memory. Each figure comes from the documented call where
// the system answers it, and otherwise from the nearest thing Wine does answer (see the .cpp).
#pragma once
#include <windows.h>

#include <cstdint>

struct ProcessResources {
  uint32_t gdiObjects;
  uint32_t userObjects;
  uint32_t handles;
  uint64_t privateBytes;
};

// How each figure was read, for the report.
struct ResourceSources {
  const char* gdi;
  const char* user;
  const char* handles;
  const char* memory;
};

// process needs PROCESS_QUERY_INFORMATION and PROCESS_VM_READ. False when it can no longer be read.
bool SampleProcessResources(HANDLE process, DWORD processId, ProcessResources* sample, ResourceSources* sources);
