// Screen-saver password on the 9x platform family: the system's own verifier and change dialog,
// loaded by name when they exist. On every other platform nothing here acts.
#include "saver_host.h"

namespace {

typedef DWORD(WINAPI* PwdChangePasswordFn)(LPCSTR provider, HWND owner, DWORD, DWORD);

bool PasswordRequested() {
  HKEY key;
  if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key) != ERROR_SUCCESS) return false;
  DWORD value = 0;
  DWORD size = sizeof value;
  bool requested = RegQueryValueExA(key, "ScreenSaveUsePassword", nullptr, nullptr,
                                    reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
                   value != 0;
  RegCloseKey(key);
  return requested;
}

// Takes at most one pending timer message of the window out of the queue.
void DropQueuedTimer(HWND window) {
  MSG message;
  PeekMessageA(&message, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
}

}  // namespace

void LoadPasswordVerifier(SaverHost* host) {
  if (!host->win9x) return;
  if (host->passwordLibrary) UnloadPasswordVerifier(host);
  if (!PasswordRequested()) return;
  host->passwordLibrary = LoadLibraryA("PASSWORD.CPL");
  if (!host->passwordLibrary) return;
  host->verifyPasswordFn =
      reinterpret_cast<VerifyScreenSavePwdFn>(GetProcAddress(host->passwordLibrary, "VerifyScreenSavePwd"));
  if (host->verifyPasswordFn) {
    SetSaverRunningState(host, true);
  } else {
    UnloadPasswordVerifier(host);
  }
}

void UnloadPasswordVerifier(SaverHost* host) {
  if (!host->win9x || !host->passwordLibrary) return;
  FreeLibrary(host->passwordLibrary);
  host->passwordLibrary = nullptr;
  if (host->verifyPasswordFn) {
    host->verifyPasswordFn = nullptr;
    SetSaverRunningState(host, false);
  }
}

void SetSaverRunningState(const SaverHost* host, bool running) {
  if (!host->win9x) return;
  UINT previous;
  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, running ? 1 : 0, &previous, 0);
}

int VerifyBeforeClose(SaverHost* host, HWND window) {
  if (host->passwordPromptActive || host->closeApproved) return 0;
  if (!host->verifyPasswordFn) {
    host->closeApproved = 1;
    return 1;
  }
  // Right after a refused prompt the user is still fumbling: no new prompt for a moment.
  if (host->lastPromptEndTick != 0xFFFFFFFF && host->tickCount() - host->lastPromptEndTick < PromptGapMs) return 0;

  host->passwordPromptActive = true;
  DropQueuedTimer(window);
  DropQueuedTimer(window);
  host->closeApproved = static_cast<int>(SendMessageA(window, WM_APP, 0, 0));
  host->passwordPromptActive = false;
  if (!host->closeApproved) SetCursor(nullptr);
  host->lastPromptEndTick = host->tickCount();
  return host->closeApproved;
}

void ChangeSaverPassword(HWND owner) {
  HMODULE mpr = LoadLibraryA("MPR.DLL");
  if (!mpr) return;
  PwdChangePasswordFn change = reinterpret_cast<PwdChangePasswordFn>(GetProcAddress(mpr, "PwdChangePasswordA"));
  if (change) change("SCRSAVE", owner, 0, 0);
  FreeLibrary(mpr);
}
