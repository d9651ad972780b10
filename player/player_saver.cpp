// Placeholder saver procedure until the engine is wired in: a black window.
#include "saver_host.h"

LRESULT CALLBACK SaverProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
    case WM_DESTROY:
    case WM_ERASEBKGND:
    case WM_TIMER:
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC context = BeginPaint(window, &paint);
      FillRect(context, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      EndPaint(window, &paint);
      return 0;
    }
  }
  return DefaultSaverHandling(window, message, wParam, lParam);
}
