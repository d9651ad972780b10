// The saver host shared by both programs: command-line modes, the saver window with its message
// loop and dismissal rules, and the password machinery of the 9x platform family. Each program
// supplies SaverProcedure, ConfigurationDialogProc and PrepareDialogClasses, and nothing more.
#pragma once
#include <windows.h>

// ---- Supplied by each program ------------------------------------------------------------
LRESULT CALLBACK SaverProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ConfigurationDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI PrepareDialogClasses(HINSTANCE instance);

// ---- Process-wide host state (zero before use) ---------------------------------------------
extern HINSTANCE moduleInstance;
extern bool win9xPlatform;

extern HWND saverWindow;
extern bool previewMode;
extern int closeApproved;
extern bool passwordPromptActive;
extern POINT savedCursorPos;
extern UINT autoPlayQueryMessage;
extern HIMC savedImeContext;

typedef BOOL(WINAPI* VerifyScreenSavePwdFn)(HWND);
extern HMODULE passwordLibrary;
extern VerifyScreenSavePwdFn verifyPasswordFn;
extern DWORD lastPromptEndTick;

const int MouseMoveThreshold = 4;
const DWORD PromptGapMs = 200;
const char SaverClassName[] = "WindowsScreenSaverClass";
const char SaverWindowTitle[] = "Screen Saver";
const char PreviewWindowTitle[] = "Preview";

// ---- Command line and run modes -----------------------------------------------------------
void SaverStartup();
int SaverEntry(HINSTANCE instance, const char* tail);
int ShowConfiguration(HWND parent);

// ---- Saver window ---------------------------------------------------------------------------
int RunSaver(HWND parent);
LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefaultSaverHandling(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The rectangle that spans every monitor, in screen pixels: what the full-screen window covers.
RECT VirtualScreen();

// ---- Password verification and change (9x platform family only) -----------------------------
void LoadPasswordVerifier();
void UnloadPasswordVerifier();
void SetSaverRunningState(bool running);
int VerifyBeforeClose(HWND window);
void ChangeSaverPassword(HWND owner);

// ---- Test seams: production code never changes these --------------------------------------------
// -1 lets SaverEntry ask the system; 0 or 1 forces the platform family (tests of the 9x path).
extern int hostPlatformOverride;
// The tick source of the password gap.
extern DWORD(WINAPI* hostTickCount)();
