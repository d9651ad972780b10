#include "host_test_window.h"

#include <algorithm>

std::vector<UINT> reachedSaver;

LRESULT CALLBACK SaverProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  reachedSaver.push_back(message);
  switch (message) {
    case WM_CREATE:
    case WM_DESTROY:
    case WM_ERASEBKGND:
    case WM_TIMER:
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      EndPaint(window, &paint);
      return 0;
    }
  }
  return DefaultSaverHandling(window, message, wParam, lParam);
}

INT_PTR CALLBACK ConfigurationDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
BOOL WINAPI PrepareDialogClasses(HINSTANCE) { return TRUE; }

bool Reached(UINT message) {
  return std::find(reachedSaver.begin(), reachedSaver.end(), message) != reachedSaver.end();
}

void ResetHostState() {
  moduleInstance = GetModuleHandleA(nullptr);
  win9xPlatform = false;
  saverWindow = nullptr;
  previewMode = false;
  closeApproved = 0;
  passwordPromptActive = false;
  savedCursorPos = POINT{0, 0};
  autoPlayQueryMessage = 0;
  if (passwordLibrary) FreeLibrary(passwordLibrary);
  passwordLibrary = nullptr;
  verifyPasswordFn = nullptr;
  lastPromptEndTick = 0xFFFFFFFF;
  hostTickCount = GetTickCount;
  reachedSaver.clear();
}

HWND MakeSaverWindow(HWND previewParent) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
    windowClass.lpfnWndProc = SaverWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = SaverClassName;
    registered = RegisterClassA(&windowClass) != 0;
  }
  HWND window;
  if (previewParent) {
    previewMode = true;
    window = CreateWindowExA(0, SaverClassName, PreviewWindowTitle, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                             100, 75, previewParent, nullptr, GetModuleHandleA(nullptr), nullptr);
  } else {
    window = CreateWindowExA(0, SaverClassName, SaverWindowTitle, WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 200,
                             150, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  saverWindow = window;
  return window;
}

namespace {

int TakeQueued(HWND window, UINT message) {
  int count = 0;
  MSG queued;
  while (PeekMessageA(&queued, window, message, message, PM_REMOVE)) ++count;
  return count;
}

}  // namespace

int TakeQueuedCloses(HWND window) { return TakeQueued(window, WM_CLOSE); }
int TakeQueuedTimers(HWND window) { return TakeQueued(window, WM_TIMER); }

void DestroySaverWindow(HWND window) {
  if (IsWindow(window)) DestroyWindow(window);
  MSG queued;
  while (PeekMessageA(&queued, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}
