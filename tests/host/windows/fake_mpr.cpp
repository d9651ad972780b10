// A stand-in for the system's MPR.DLL: records the change-password call.
#include <windows.h>

#include "probe_log.h"

extern "C" __declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD reserved1,
                                                                 DWORD reserved2) {
  ProbeLog("change %s %lu %lu %lu", provider, static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(owner)),
           static_cast<unsigned long>(reserved1), static_cast<unsigned long>(reserved2));
  return 0;
}
