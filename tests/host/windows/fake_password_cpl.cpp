// A stand-in for the system's PASSWORD.CPL with scripted answers. Built twice: with the verifier
// entry, and (WITHOUT_VERIFIER) without it, to show that such a module is freed again.
#include <windows.h>

#include "probe_log.h"

namespace {
int answers[16];
int answerCount;
int calls;
HWND lastWindow;
void (*duringPrompt)(HWND);
}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) ProbeLog("password module attached");
  if (reason == DLL_PROCESS_DETACH) {
    // Whether the system still believes a saver runs when this module goes, also at the end of
    // a process that faulted.
    BOOL running = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    ProbeLog("password module detached running=%d", running ? 1 : 0);
  }
  return TRUE;
}

#ifndef WITHOUT_VERIFIER
extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window) {
  lastWindow = window;
  int answer = calls < answerCount ? answers[calls] : 1;
  ++calls;
  if (duringPrompt) duringPrompt(window);
  ProbeLog("verify %d", answer);
  return answer;
}
#endif

// Test controls: the answers of the next prompts, and work to do while a prompt is "open".
extern "C" __declspec(dllexport) void FakePasswordScript(const int* next, int count, void (*during)(HWND)) {
  answerCount = count < 16 ? count : 16;
  for (int i = 0; i < answerCount; ++i) answers[i] = next[i];
  calls = 0;
  lastWindow = nullptr;
  duringPrompt = during;
}

extern "C" __declspec(dllexport) int FakePasswordCalls() { return calls; }
extern "C" __declspec(dllexport) HWND FakePasswordLastWindow() { return lastWindow; }
