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

void LoadPasswordVerifier() {
  if (!win9xPlatform) return;
  if (passwordLibrary) UnloadPasswordVerifier();
  if (!PasswordRequested()) return;
  passwordLibrary = LoadLibraryA("PASSWORD.CPL");
  if (!passwordLibrary) return;
  verifyPasswordFn =
      reinterpret_cast<VerifyScreenSavePwdFn>(GetProcAddress(passwordLibrary, "VerifyScreenSavePwd"));
  if (verifyPasswordFn) {
    SetSaverRunningState(true);
  } else {
    UnloadPasswordVerifier();
  }
}

void UnloadPasswordVerifier() {
  if (!win9xPlatform || !passwordLibrary) return;
  FreeLibrary(passwordLibrary);
  passwordLibrary = nullptr;
  if (verifyPasswordFn) {
    verifyPasswordFn = nullptr;
    SetSaverRunningState(false);
  }
}

void SetSaverRunningState(bool running) {
  if (!win9xPlatform) return;
  UINT previous;
  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, running ? 1 : 0, &previous, 0);
}

int VerifyBeforeClose(HWND window) {
  if (passwordPromptActive || closeApproved) return 0;
  if (!verifyPasswordFn) {
    closeApproved = 1;
    return 1;
  }
  // Right after a refused prompt the user is still fumbling: no new prompt for a moment.
  if (lastPromptEndTick != 0xFFFFFFFF && hostTickCount() - lastPromptEndTick < PromptGapMs) return 0;

  passwordPromptActive = true;
  DropQueuedTimer(window);
  DropQueuedTimer(window);
  closeApproved = static_cast<int>(SendMessageA(window, WM_APP, 0, 0));
  passwordPromptActive = false;
  if (!closeApproved) SetCursor(nullptr);
  lastPromptEndTick = hostTickCount();
  return closeApproved;
}

void ChangeSaverPassword(HWND owner) {
  HMODULE mpr = LoadLibraryA("MPR.DLL");
  if (!mpr) return;
  PwdChangePasswordFn change = reinterpret_cast<PwdChangePasswordFn>(GetProcAddress(mpr, "PwdChangePasswordA"));
  if (change) change("SCRSAVE", owner, 0, 0);
  FreeLibrary(mpr);
}
