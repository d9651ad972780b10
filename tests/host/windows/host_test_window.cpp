#include "host_test_window.h"

#include <algorithm>

// The test's program keeps its saver in the host's program slot from the start.
LRESULT SaverProcedure(SaverHost* host, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  static_cast<TestSaver*>(host->program)->reached.push_back(message);
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
  return DefaultSaverHandling(host, window, message, wParam, lParam);
}

INT_PTR CALLBACK ConfigurationDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
BOOL WINAPI PrepareDialogClasses(HINSTANCE) { return TRUE; }

void OpenTestSaver(TestSaver* saver) {
  OpenSaverHost(&saver->host, GetModuleHandleA(nullptr), false);
  saver->host.program = saver;
  saver->reached.clear();
}

TestSaver* TestSaverOf(HWND window) {
  return static_cast<TestSaver*>(SaverHostOf(window)->program);
}

bool Reached(const TestSaver& saver, UINT message) {
  return std::find(saver.reached.begin(), saver.reached.end(), message) != saver.reached.end();
}

HWND MakeSaverWindow(TestSaver* saver, HWND previewParent) {
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
    saver->host.preview = true;
    window = CreateWindowExA(0, SaverClassName, PreviewWindowTitle, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                             100, 75, previewParent, nullptr, GetModuleHandleA(nullptr), &saver->host);
  } else {
    window = CreateWindowExA(0, SaverClassName, SaverWindowTitle, WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 200,
                             150, nullptr, nullptr, GetModuleHandleA(nullptr), &saver->host);
  }
  saver->host.window = window;
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
