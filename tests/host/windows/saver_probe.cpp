// A saver program made of the real host and a probe saver procedure. MORVANE_PROBE_WIN9X=1 makes
// the host take the 9x platform path; MORVANE_PROBE_AUTOCLOSE=1 asks to close right after
// creation; the probe logs the host's password state when its window is created.
#include "probe_log.h"
#include "saver_host.h"

LRESULT SaverProcedure(SaverHost* host, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      BOOL running = FALSE;
      SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
      ProbeLog("create library=%d verifier=%d running=%d", host->passwordLibrary != nullptr,
               host->verifyPasswordFn != nullptr, running ? 1 : 0);
      if (GetEnvironmentVariableA("MORVANE_PROBE_AUTOCLOSE", nullptr, 0)) PostMessageA(window, WM_CLOSE, 0, 0);
      if (GetEnvironmentVariableA("MORVANE_PROBE_FAULT", nullptr, 0)) PostMessageA(window, WM_APP + 1, 0, 0);
      return 0;
    }
    case WM_APP + 1: {
      // A processor fault inside the animation, as a broken saver procedure would make it.
      ProbeLog("fault");
      volatile int* nowhere = nullptr;
      *nowhere = 1;
      return 0;
    }
    case WM_DESTROY:
      ProbeLog("destroy");
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
    case WM_TIMER:
      return 0;
  }
  return DefaultSaverHandling(host, window, message, wParam, lParam);
}

INT_PTR CALLBACK ConfigurationDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
BOOL WINAPI PrepareDialogClasses(HINSTANCE) { return TRUE; }

int main() {
  SaverStartup(GetEnvironmentVariableA("MORVANE_PROBE_WIN9X", nullptr, 0) ? Platform9xFamily : PlatformOfSystem);
  return 0;
}
