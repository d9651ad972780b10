#include "saver_host.h"

HINSTANCE moduleInstance;
bool win9xPlatform;

HWND saverWindow;
bool previewMode;
int closeApproved;
bool passwordPromptActive;
POINT savedCursorPos;
UINT autoPlayQueryMessage;
HIMC savedImeContext;

HMODULE passwordLibrary;
VerifyScreenSavePwdFn verifyPasswordFn;
DWORD lastPromptEndTick = 0xFFFFFFFF;

int hostPlatformOverride = -1;
DWORD(WINAPI* hostTickCount)() = GetTickCount;
