// Start-up and dispatch: one process, one run mode, its result the exit code.
#include "command_line.h"
#include "saver_host.h"
#include "system_text.h"

namespace {

LPTOP_LEVEL_EXCEPTION_FILTER previousFaultFilter;

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
    SetSaverRunningState(false);
    ExitProcess(fault->ExceptionRecord->ExceptionCode);
  }
  return verdict;
}

HWND WindowFromHandle(uint32_t handle) { return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(handle)); }

}  // namespace

void SaverStartup() {
  const char* tail = SkipProgramName(GetCommandLineA(), NextCharacter);
  ExitProcess(static_cast<UINT>(SaverEntry(GetModuleHandleA(nullptr), tail)));
}

int SaverEntry(HINSTANCE instance, const char* tail) {
  moduleInstance = instance;
  win9xPlatform = hostPlatformOverride >= 0 ? hostPlatformOverride != 0 : QueryWin9xPlatform();
  previousFaultFilter = SetUnhandledExceptionFilter(HostFaultFilter);

  SaverCommand command = ParseSaverCommand(tail);
  HWND window = WindowFromHandle(command.window);
  if (command.foregroundFallback && (window == nullptr || !IsWindow(window))) window = GetForegroundWindow();

  switch (command.mode) {
    case SaverModeConfigure:
      return ShowConfiguration(window);
    case SaverModeRun:
      return RunSaver(nullptr);
    case SaverModePreview:
      if (window == nullptr || !IsWindow(window)) return -1;
      return RunSaver(window);
    case SaverModeChangePassword:
      if (!win9xPlatform) return -1;
      ChangeSaverPassword(window);
      return 0;
    case SaverModeRefused:
      break;
  }
  return -1;
}

int ShowConfiguration(HWND parent) {
  if (!PrepareDialogClasses(moduleInstance)) return 0;
  return static_cast<int>(RunDialog(MAKEINTRESOURCEA(2003), parent, ConfigurationDialogProc));
}
