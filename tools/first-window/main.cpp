// A full-screen window of one colour and nothing else: what Wine takes to start a program and
// show its first picture, without anything the player does before its own.
#include <windows.h>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY || message == WM_KEYDOWN) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = CreateSolidBrush(RGB(200, 40, 40));
  windowClass.lpszClassName = "FirstWindow";
  if (!RegisterClassA(&windowClass)) return 1;
  HWND window = CreateWindowExA(WS_EX_TOPMOST, "FirstWindow", "", WS_POPUP | WS_VISIBLE, 0, 0,
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                instance, nullptr);
  if (!window) return 1;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
