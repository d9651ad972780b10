#include "screen_layout.h"

#include <cstring>

#include "saver_host.h"

namespace {

// 95 and NT 4 have no EnumDisplayMonitors; where it is missing there is one screen.
typedef BOOL(WINAPI* EnumDisplayMonitorsFn)(HDC, LPCRECT, MONITORENUMPROC, LPARAM);

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT area, LPARAM context) {
  SceneGeometry* geometry = reinterpret_cast<SceneGeometry*>(context);
  if (geometry->monitorCount >= kMonitorSlots) return FALSE;
  SceneArea& monitor = geometry->monitors[geometry->monitorCount++];
  monitor.left = area->left - geometry->displayLeft;
  monitor.top = area->top - geometry->displayTop;
  monitor.width = area->right - area->left;
  monitor.height = area->bottom - area->top;
  return TRUE;
}

}  // namespace

void ReadScreenLayout(HWND window, bool preview, SceneGeometry* geometry) {
  memset(geometry, 0, sizeof *geometry);
  RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (!preview) screen = VirtualScreen();
  geometry->screenWidth = screen.right - screen.left;
  geometry->screenHeight = screen.bottom - screen.top;
  geometry->displayLeft = screen.left;
  geometry->displayTop = screen.top;

  RECT area;
  GetWindowRect(window, &area);
  geometry->windowLeft = area.left - screen.left;
  geometry->windowTop = area.top - screen.top;
  geometry->windowRight = area.right - screen.left;
  geometry->windowBottom = area.bottom - screen.top;
  if (preview) return;

  HMODULE user = GetModuleHandleA("USER32.DLL");
  EnumDisplayMonitorsFn enumerate =
      user ? reinterpret_cast<EnumDisplayMonitorsFn>(GetProcAddress(user, "EnumDisplayMonitors")) : nullptr;
  if (enumerate) enumerate(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(geometry));
}
