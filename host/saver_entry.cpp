// Start-up and dispatch: one process, one run mode, its result the exit code.
#include "command_line.h"
#include "saver_host.h"
#include "system_text.h"

namespace {

// The system calls the fault filter with nothing of ours, so the filter finds what it needs here:
// the filter it replaced, and the host of the run (set once, before any window).
LPTOP_LEVEL_EXCEPTION_FILTER previousFaultFilter;
const SaverHost* faultHost;

const char* NextCharacter(const char* p) { return CharNextA(p); }

bool QueryWin9xPlatform() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

// A fault that nothing else handled: the system's own report decides. When it says the program
// should handle it, the running state must not stay on, so it is switched off before the end.
LONG WINAPI HostFaultFilter(EXCEPTION_POINTERS* fault) {
  // The system's report calls the top-level filter itself; step aside so it does not call us.
  SetUnhandledExceptionFilter(previousFaultFilter);
  LONG verdict = UnhandledExceptionFilter(fault);
  if (verdict == EXCEPTION_EXECUTE_HANDLER) {
    SetSaverRunningState(faultHost, false);
    ExitProcess(fault->ExceptionRecord->ExceptionCode);
  }
  return verdict;
}

HWND WindowFromHandle(uint32_t handle) { return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(handle)); }

}  // namespace

void SaverStartup(PlatformChoice platform) {
  SaverHost host;
  OpenSaverHost(&host, GetModuleHandleA(nullptr), platform == Platform9xFamily || QueryWin9xPlatform());
  const char* tail = SkipProgramName(GetCommandLineA(), NextCharacter);
  ExitProcess(static_cast<UINT>(SaverEntry(&host, tail)));
}

int SaverEntry(SaverHost* host, const char* tail) {
  faultHost = host;
  previousFaultFilter = SetUnhandledExceptionFilter(HostFaultFilter);

  SaverCommand command = ParseSaverCommand(tail);
  HWND window = WindowFromHandle(command.window);
  if (command.foregroundFallback && (window == nullptr || !IsWindow(window))) window = GetForegroundWindow();

  switch (command.mode) {
    case SaverModeConfigure:
      return ShowConfiguration(host, window);
    case SaverModeRun:
      return RunSaver(host, nullptr);
    case SaverModePreview:
      if (window == nullptr || !IsWindow(window)) return -1;
      return RunSaver(host, window);
    case SaverModeChangePassword:
      if (!host->win9x) return -1;
      ChangeSaverPassword(window);
      return 0;
    case SaverModeRefused:
      break;
  }
  return -1;
}

int ShowConfiguration(SaverHost* host, HWND parent) {
  if (!PrepareDialogClasses(host->module)) return 0;
  return static_cast<int>(
      RunDialog(host, MAKEINTRESOURCEA(2003), parent, ConfigurationDialogProc, reinterpret_cast<LPARAM>(host)));
}
