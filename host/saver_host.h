// The saver host shared by both programs: command-line modes, the saver window with its message
// loop and dismissal rules, and the password machinery of the 9x platform family. Each program
// supplies SaverProcedure, ConfigurationDialogProc and PrepareDialogClasses, and nothing more.
// Everything the host keeps is one SaverHost, which the start-up owns and hands on: the saver
// window's procedure gets it with every message, the configuration dialog with WM_INITDIALOG.
#pragma once
#include <windows.h>

typedef BOOL(WINAPI* VerifyScreenSavePwdFn)(HWND);
typedef HIMC(WINAPI* ImmAssociateContextFn)(HWND, HIMC);

struct SaverHost {
  // The program as the system started it.
  HINSTANCE module;
  bool win9x;  // the 9x platform family (system_text.h says what changes there)
  LANGID dialogLanguage;  // the language every fixed text follows (system_text.h)
  DWORD(WINAPI* tickCount)();  // the tick source of the password gap

  // The saver window, while it runs.
  HWND window;
  bool preview;
  int closeApproved;
  bool passwordPromptActive;
  POINT savedCursorPos;
  UINT autoPlayQueryMessage;
  ImmAssociateContextFn immAssociateContext;
  HIMC savedImeContext;
  // What the program's SaverProcedure keeps for its window, from its WM_CREATE to its WM_DESTROY.
  void* program;

  // The 9x family's password verifier, while it is loaded.
  HMODULE passwordLibrary;
  VerifyScreenSavePwdFn verifyPasswordFn;
  DWORD lastPromptEndTick;
};

// ---- Supplied by each program ------------------------------------------------------------
// Every message of the saver window, after the host's own routing.
LRESULT SaverProcedure(SaverHost* host, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The configuration dialog; the lParam of its WM_INITDIALOG is the SaverHost.
INT_PTR CALLBACK ConfigurationDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI PrepareDialogClasses(HINSTANCE instance);

const int MouseMoveThreshold = 4;
const DWORD PromptGapMs = 200;
const char SaverClassName[] = "WindowsScreenSaverClass";
const char SaverWindowTitle[] = "Screen Saver";
const char PreviewWindowTitle[] = "Preview";

// ---- Command line and run modes -----------------------------------------------------------
// A host of the program in `module` on the given platform family, before anything runs.
void OpenSaverHost(SaverHost* host, HINSTANCE module, bool win9x);
// The platform family as the system says it, or the 9x one whatever the system (tests of the 9x
// path take it).
enum PlatformChoice { PlatformOfSystem, Platform9xFamily };
// The whole run of the program: its host, the mode its command line asks for, and the end of the
// process with that mode's result as the exit code.
void SaverStartup(PlatformChoice platform);
int SaverEntry(SaverHost* host, const char* tail);
int ShowConfiguration(SaverHost* host, HWND parent);

// ---- Saver window ---------------------------------------------------------------------------
int RunSaver(SaverHost* host, HWND parent);
// The saver window class's procedure: the window's creation parameter is its SaverHost.
LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The host of a window made with SaverWindowProc; null before its WM_NCCREATE.
SaverHost* SaverHostOf(HWND window);
LRESULT DefaultSaverHandling(SaverHost* host, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The rectangle that spans every monitor, in screen pixels: what the full-screen window covers.
RECT VirtualScreen();

// ---- Password verification and change (9x platform family only) -----------------------------
void LoadPasswordVerifier(SaverHost* host);
void UnloadPasswordVerifier(SaverHost* host);
void SetSaverRunningState(const SaverHost* host, bool running);
int VerifyBeforeClose(SaverHost* host, HWND window);
void ChangeSaverPassword(HWND owner);
