// The screen-saver command line: how a process start becomes one run mode. Portable: the
// Windows entry applies the window tests (IsWindow, foreground window) to what this returns.
#pragma once
#include <cstdint>

enum SaverMode {
  SaverModeConfigure,       // empty tail or 'C': the configuration dialog
  SaverModeRun,             // 'S': the full-screen saver
  SaverModePreview,         // 'P' or 'L' with a window handle
  SaverModeChangePassword,  // 'A'
  SaverModeRefused          // anything else: exit code -1
};

struct SaverCommand {
  SaverMode mode;
  uint32_t window;           // the handle read after the letter; 0 for none
  bool foregroundFallback;   // a missing or dead window means the foreground window ('C', 'A')
};

// Steps one character forward in the system's multibyte code page (CharNextA on Windows).
typedef const char* (*CharacterStep)(const char*);

// The command line without the program name and the separators after it.
const char* SkipProgramName(const char* commandLine, CharacterStep step);

// Unsigned decimal digits from the start of the text, wrapping modulo 2^32; 0 when none.
uint32_t ParseWindowHandle(const char* text);

// The run mode chosen by the first option letter of the tail.
SaverCommand ParseSaverCommand(const char* tail);
