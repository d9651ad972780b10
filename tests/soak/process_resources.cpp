#include "process_resources.h"

#include <psapi.h>
#include <winternl.h>

#include <cstddef>
#include <vector>

namespace {

// One slot of the GDI handle table that the system maps into every process and names in the
// process environment block; a slot in use has a non-zero type.
struct GdiHandleEntry {
  uint64_t object;
  uint32_t owner;
  uint16_t unique;
  uint8_t type;
  uint8_t flags;
  uint64_t user;
};
const size_t kGdiHandleSlots = 0x10000;
const uint16_t kStockObjectFlag = 0x80;
const size_t kPebGdiTableOffset = 0xF8;  // GdiSharedHandleTable in the 64-bit PEB

// Every process with Wine has a table of its own, so every slot in use is the process's own;
// on Windows the table is shared and each slot names its owner.
uint32_t CountGdiObjects(HANDLE process, DWORD processId, bool* ok) {
  *ok = false;
  PROCESS_BASIC_INFORMATION basic;
  ULONG length = 0;
  if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, &length) != 0) return 0;
  uint64_t table = 0;
  SIZE_T got = 0;
  if (!ReadProcessMemory(process, reinterpret_cast<const char*>(basic.PebBaseAddress) + kPebGdiTableOffset, &table,
                         sizeof table, &got) || table == 0)
    return 0;
  static std::vector<GdiHandleEntry> entries(kGdiHandleSlots);
  if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                         entries.size() * sizeof(GdiHandleEntry), &got))
    return 0;
  bool shared = false;
  for (const GdiHandleEntry& entry : entries)
    if (entry.type != 0 && (entry.owner & 0xFFFF) != 0) shared = true;
  uint32_t count = 0;
  for (const GdiHandleEntry& entry : entries) {
    if (entry.type == 0 || (entry.unique & kStockObjectFlag)) continue;
    if (shared && (entry.owner & 0xFFFF) != ((processId >> 2) & 0xFFFF)) continue;
    ++count;
  }
  *ok = true;
  return count;
}

struct WindowCount {
  DWORD processId;
  uint32_t count;
};

BOOL CALLBACK CountChild(HWND, LPARAM context) {
  ++reinterpret_cast<WindowCount*>(context)->count;
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM context) {
  WindowCount* windows = reinterpret_cast<WindowCount*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == windows->processId) {
    ++windows->count;
    EnumChildWindows(window, CountChild, context);
  }
  return TRUE;
}

struct SystemHandle {
  ULONG processId;
  UCHAR type;
  UCHAR flags;
  USHORT value;
  PVOID object;
  ACCESS_MASK access;
};
struct SystemHandles {
  ULONG count;
  SystemHandle handles[1];
};
const SYSTEM_INFORMATION_CLASS kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);

bool CountHandles(DWORD processId, uint32_t* count) {
  static std::vector<char> buffer(1 << 20);
  ULONG length = 0;
  NTSTATUS status;
  while ((status = NtQuerySystemInformation(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                                            &length)) == static_cast<NTSTATUS>(0xC0000004L))  // length mismatch
    buffer.resize(buffer.size() * 2);
  if (status != 0) return false;
  const SystemHandles* all = reinterpret_cast<const SystemHandles*>(buffer.data());
  *count = 0;
  for (ULONG i = 0; i < all->count; ++i) *count += all->handles[i].processId == processId;
  return true;
}

}  // namespace

bool SampleProcessResources(HANDLE process, DWORD processId, ProcessResources* sample, ResourceSources* sources) {
  DWORD code = 0;
  if (!GetExitCodeProcess(process, &code) || code != STILL_ACTIVE) return false;

  // Wine answers GetGuiResources and GetProcessHandleCount with 0 ("not implemented").
  bool ok = true;
  sample->gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
  sources->gdi = "GetGuiResources";
  if (sample->gdiObjects == 0) {
    sample->gdiObjects = CountGdiObjects(process, processId, &ok);
    sources->gdi = "GDI handle table";
    if (!ok) return false;
  }

  sample->userObjects = GetGuiResources(process, GR_USEROBJECTS);
  sources->user = "GetGuiResources";
  if (sample->userObjects == 0) {
    WindowCount windows = {processId, 0};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&windows));
    sample->userObjects = windows.count;
    sources->user = "windows";
  }

  DWORD handles = 0;
  sources->handles = "GetProcessHandleCount";
  if (!GetProcessHandleCount(process, &handles) || handles == 0) {
    sources->handles = "system handle list";
    if (!CountHandles(processId, &sample->handles)) return false;
  } else {
    sample->handles = handles;
  }

  // Wine leaves PrivateUsage at 0 but fills PagefileUsage (the commit charge, the same figure
  // on Windows) with the process's private resident memory.
  PROCESS_MEMORY_COUNTERS_EX memory = {};
  memory.cb = sizeof memory;
  if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) return false;
  sample->privateBytes = memory.PrivateUsage;
  sources->memory = "PrivateUsage";
  if (sample->privateBytes == 0) {
    sample->privateBytes = memory.PagefileUsage;
    sources->memory = "PagefileUsage";
  }
  return true;
}
