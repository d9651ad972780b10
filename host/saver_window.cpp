// The saver window: creation, the message loop, and the routing that stands between the system
// and the program's SaverProcedure.
#include "saver_host.h"

namespace {

void PostCloseRequest(HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }

void HideCursor() { SetCursor(nullptr); }

// Mouse travel counts from the last recorded position, so slow drift adds up.
void CheckMouseTravel(SaverHost* host, HWND window) {
  POINT now;
  GetCursorPos(&now);
  int dx = now.x - host->savedCursorPos.x;
  int dy = now.y - host->savedCursorPos.y;
  if ((dx < 0 ? -dx : dx) + (dy < 0 ? -dy : dy) > MouseMoveThreshold) {
    PostCloseRequest(window);
    host->savedCursorPos = now;
  }
}

// The input and power events that end a full-screen saver.
LRESULT HandleDismissal(SaverHost* host, HWND window, UINT message, WPARAM wParam, bool* handled) {
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
      CheckMouseTravel(host, window);
      break;
  }
  return 0;
}

// The password request: the verifier asks the user in a dialog of its own.
LRESULT HandlePasswordRequest(const SaverHost* host, HWND window) {
  return host->verifyPasswordFn ? host->verifyPasswordFn(window) : 1;
}

}  // namespace

int RunSaver(SaverHost* host, HWND parent) {
  WNDCLASSA windowClass = {};
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
  windowClass.lpfnWndProc = SaverWindowProc;
  windowClass.hInstance = host->module;
  windowClass.hIcon = LoadIconA(host->module, MAKEINTRESOURCEA(100));
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
    host->preview = true;
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
    LoadPasswordVerifier(host);
  }
  host->autoPlayQueryMessage = host->win9x ? RegisterWindowMessageA("QueryCancelAutoPlay") : 0;

  if (RegisterClassA(&windowClass)) {
    host->window = CreateWindowExA(extendedStyle, SaverClassName, title, style, left, top, width, height, parent,
                                   nullptr, host->module, host);
  }

  int result = -1;  // no window: the saver never ran
  if (host->window) {
    if (!parent) SetForegroundWindow(host->window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    result = static_cast<int>(message.wParam);
  }
  UnloadPasswordVerifier(host);
  return result;
}

SaverHost* SaverHostOf(HWND window) {
  return reinterpret_cast<SaverHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
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
  if (message == WM_NCCREATE) {
    LONG_PTR creator = reinterpret_cast<LONG_PTR>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, creator);
  }
  SaverHost* host = SaverHostOf(window);
  // The few messages before WM_NCCREATE (the size limits) find no host yet: nothing of ours
  // applies to them.
  if (!host) return DefWindowProcA(window, message, wParam, lParam);
  const bool preview = host->preview;
  switch (message) {
    case WM_CREATE: {
      HMODULE imm = GetModuleHandleA("IMM32.DLL");
      host->immAssociateContext =
          imm ? reinterpret_cast<ImmAssociateContextFn>(GetProcAddress(imm, "ImmAssociateContext")) : nullptr;
      if (host->immAssociateContext) host->savedImeContext = host->immAssociateContext(window, nullptr);
      GetCursorPos(&host->savedCursorPos);
      if (!preview) HideCursor();
      break;
    }
    case WM_DESTROY:
      if (host->immAssociateContext && host->savedImeContext)
        host->immAssociateContext(window, host->savedImeContext);
      PostQuitMessage(0);
      break;
    case WM_SETTEXT:
      return 0;
    case WM_PAINT:
      if (host->closeApproved) return DefWindowProcA(window, message, wParam, lParam);
      if (!preview) HideCursor();
      break;
    case WM_HELP:
    case WM_CONTEXTMENU:
      if (preview) {
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
      if (host->closeApproved) return DefWindowProcA(window, message, wParam, lParam);
      break;
    case WM_SYSCOMMAND:
      if (!preview && (wParam == SC_NEXTWINDOW || wParam == SC_PREVWINDOW || wParam == SC_SCREENSAVE)) return 0;
      break;
    case WM_TIMER:
      // Once the close is approved the animation gets no more work while the window goes.
      if (host->closeApproved) return 0;
      Sleep(0);
      break;
  }
  return SaverProcedure(host, window, message, wParam, lParam);
}

LRESULT DefaultSaverHandling(SaverHost* host, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!host->preview && !host->closeApproved) {
    if (message == WM_CLOSE) {
      if (host->win9x && !VerifyBeforeClose(host, window)) {
        GetCursorPos(&host->savedCursorPos);
        return 0;
      }
    } else if (message == WM_APP) {
      if (host->win9x) return HandlePasswordRequest(host, window);
    } else if (!host->passwordPromptActive) {
      bool handled;
      LRESULT result = HandleDismissal(host, window, message, wParam, &handled);
      if (handled) return result;
    }
  }
  if (host->autoPlayQueryMessage != 0 && message == host->autoPlayQueryMessage) {
    PostCloseRequest(window);
    return host->verifyPasswordFn ? 1 : 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
