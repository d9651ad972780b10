#include "x11_monitors.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

namespace {

// Mirrored outputs show one picture: a monitor already listed with the same area is not a second one.
int AddMonitor(WindowMonitor* monitors, int count, int32_t left, int32_t top, int32_t width, int32_t height) {
  if (count == kMaxWindowMonitors || width <= 0 || height <= 0) return count;
  for (int i = 0; i < count; ++i) {
    const WindowMonitor& m = monitors[i];
    if (m.left == left && m.top == top && m.width == width && m.height == height) return count;
  }
  monitors[count] = WindowMonitor{left, top, width, height};
  return count + 1;
}

int ReadXinerama(Display* display, WindowMonitor* monitors) {
  int event, error;
  if (!XineramaQueryExtension(display, &event, &error) || !XineramaIsActive(display)) return 0;
  int heads = 0;
  XineramaScreenInfo* info = XineramaQueryScreens(display, &heads);
  int count = 0;
  for (int i = 0; i < heads; ++i)
    count = AddMonitor(monitors, count, info[i].x_org, info[i].y_org, info[i].width, info[i].height);
  if (info) XFree(info);
  return count;
}

// RandR 1.5 monitors, for a server without the Xinerama extension (servers with it answer
// Xinerama from their RandR monitors).
int ReadRandrMonitors(Display* display, int screen, WindowMonitor* monitors) {
  int event, error, major = 0, minor = 0;
  if (!XRRQueryExtension(display, &event, &error) || !XRRQueryVersion(display, &major, &minor)) return 0;
  if (major < 1 || (major == 1 && minor < 5)) return 0;
  int heads = 0;
  XRRMonitorInfo* info = XRRGetMonitors(display, RootWindow(display, screen), True, &heads);
  int count = 0;
  for (int i = 0; i < heads; ++i)
    count = AddMonitor(monitors, count, info[i].x, info[i].y, info[i].width, info[i].height);
  if (info) XRRFreeMonitors(info);
  return count;
}

}  // namespace

int ReadX11Monitors(Display* display, int screen, WindowMonitor* monitors) {
  int count = ReadXinerama(display, monitors);
  if (count == 0) count = ReadRandrMonitors(display, screen, monitors);
  return count > 1 ? count : 0;
}
