// The saver window: creation, the message loop, and the routing that stands between the system
// and the program's SaverProcedure.
#include "saver_host.h"

namespace {

typedef HIMC(WINAPI* ImmAssociateContextFn)(HWND, HIMC);
ImmAssociateContextFn immAssociateContext;

void PostCloseRequest(HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }

void HideCursor() { SetCursor(nullptr); }

// Mouse travel counts from the last recorded position, so slow drift adds up.
void CheckMouseTravel(HWND window) {
  POINT now;
  GetCursorPos(&now);
  int dx = now.x - savedCursorPos.x;
  int dy = now.y - savedCursorPos.y;
  if ((dx < 0 ? -dx : dx) + (dy < 0 ? -dy : dy) > MouseMoveThreshold) {
    PostCloseRequest(window);
    savedCursorPos = now;
  }
}

// The input and power events that end a full-screen saver.
LRESULT HandleDismissal(HWND window, UINT message, WPARAM wParam, bool* handled) {
  *handled = false;
  switch (message) {
    case WM_SHOWWINDOW:
      if (wParam) HideCursor();
      break;
    case WM_ACTIVATEAPP:
      if (wParam == 0) PostCloseRequest(window);
      break;
    case WM_SETCURSOR:
      HideCursor();
      *handled = true;
      return 1;
    case WM_POWER:
      if (wParam == PWR_CRITICALRESUME) PostCloseRequest(window);
      break;
    case WM_POWERBROADCAST:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      PostCloseRequest(window);
      break;
    case WM_MOUSEMOVE:
      CheckMouseTravel(window);
      break;
  }
  return 0;
}

// The password request: the verifier asks the user in a dialog of its own.
LRESULT HandlePasswordRequest(HWND window) { return verifyPasswordFn ? verifyPasswordFn(window) : 1; }

}  // namespace

int RunSaver(HWND parent) {
  WNDCLASSA windowClass = {};
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
  windowClass.lpfnWndProc = SaverWindowProc;
  windowClass.hInstance = moduleInstance;
  windowClass.hIcon = LoadIconA(moduleInstance, MAKEINTRESOURCEA(100));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = SaverClassName;

  int left = 0, top = 0, width, height;
  DWORD style, extendedStyle;
  const char* title;
  if (parent) {
    RECT client;
    GetClientRect(parent, &client);
    width = client.right;
    height = client.bottom;
    style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    extendedStyle = 0;
    title = PreviewWindowTitle;
    previewMode = true;
  } else {
    RECT screen = VirtualScreen();
    left = screen.left;
    top = screen.top;
    width = screen.right - screen.left;
    height = screen.bottom - screen.top;
    style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    extendedStyle = WS_EX_TOPMOST;
    title = SaverWindowTitle;

    // A second full-screen saver never starts: the running one comes to the front instead.
    HWND running = FindWindowA(SaverClassName, SaverWindowTitle);
    if (running) {
      SetForegroundWindow(running);
      return 0;
    }
    LoadPasswordVerifier();
  }
  autoPlayQueryMessage = win9xPlatform ? RegisterWindowMessageA("QueryCancelAutoPlay") : 0;

  if (RegisterClassA(&windowClass)) {
    saverWindow = CreateWindowExA(extendedStyle, SaverClassName, title, style, left, top, width, height,
                                  parent, nullptr, moduleInstance, nullptr);
  }

  int result = -1;  // no window: the saver never ran
  if (saverWindow) {
    if (!parent) SetForegroundWindow(saverWindow);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    result = static_cast<int>(message.wParam);
  }
  UnloadPasswordVerifier();
  return result;
}

RECT VirtualScreen() {
  RECT screen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
  int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  // Systems from before several monitors (95, NT 4) answer 0 for these: one screen.
  if (width <= 0 || height <= 0) {
    screen.left = screen.top = 0;
    width = GetSystemMetrics(SM_CXSCREEN);
    height = GetSystemMetrics(SM_CYSCREEN);
  }
  screen.right = screen.left + width;
  screen.bottom = screen.top + height;
  return screen;
}

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      HMODULE imm = GetModuleHandleA("IMM32.DLL");
      immAssociateContext =
          imm ? reinterpret_cast<ImmAssociateContextFn>(GetProcAddress(imm, "ImmAssociateContext")) : nullptr;
      if (immAssociateContext) savedImeContext = immAssociateContext(window, nullptr);
      GetCursorPos(&savedCursorPos);
      if (!previewMode) HideCursor();
      break;
    }
    case WM_DESTROY:
      if (immAssociateContext && savedImeContext) immAssociateContext(window, savedImeContext);
      PostQuitMessage(0);
      break;
    case WM_SETTEXT:
      return 0;
    case WM_PAINT:
      if (closeApproved) return DefWindowProcA(window, message, wParam, lParam);
      if (!previewMode) HideCursor();
      break;
    case WM_HELP:
    case WM_CONTEXTMENU:
      if (previewMode) {
        // The control panel owns help for the preview area.
        HWND parent = GetParent(window);
        if (parent && IsWindow(parent)) PostMessageA(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
        return 1;
      }
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (closeApproved) return DefWindowProcA(window, message, wParam, lParam);
      break;
    case WM_SYSCOMMAND:
      if (!previewMode && (wParam == SC_NEXTWINDOW || wParam == SC_PREVWINDOW || wParam == SC_SCREENSAVE)) return 0;
      break;
    case WM_TIMER:
      // Once the close is approved the animation gets no more work while the window goes.
      if (closeApproved) return 0;
      Sleep(0);
      break;
  }
  return SaverProcedure(window, message, wParam, lParam);
}

LRESULT DefaultSaverHandling(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!previewMode && !closeApproved) {
    if (message == WM_CLOSE) {
      if (win9xPlatform && !VerifyBeforeClose(window)) {
        GetCursorPos(&savedCursorPos);
        return 0;
      }
    } else if (message == WM_APP) {
      if (win9xPlatform) return HandlePasswordRequest(window);
    } else if (!passwordPromptActive) {
      bool handled;
      LRESULT result = HandleDismissal(window, message, wParam, &handled);
      if (handled) return result;
    }
  }
  if (autoPlayQueryMessage != 0 && message == autoPlayQueryMessage) {
    PostCloseRequest(window);
    return verifyPasswordFn ? 1 : 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
