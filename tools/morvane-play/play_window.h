// The window a scene plays in, as the player's loop sees it: a surface to present into, a clock,
// and a wait for the next event or moment. The X11 window is one; tests use a headless twin
// whose clock moves only when the loop waits.
#pragma once
#include <cstdint>

struct Surface;

const int kMaxExposedAreas = 32;
// More monitors than this play as one: the engine lays the wallpaper out on at most as many.
const int kMaxWindowMonitors = 16;

struct WindowMonitor {
  int32_t left, top, width, height;
};

struct WindowEvents {
  bool stop;     // asked to end: closed, dismissed by input, or a termination signal
  bool displayLost;  // ... or the connection to the display broke
  bool resized;  // the window changed size: width and height hold the new one
  int32_t width, height;
  bool exposedAll;  // more exposed areas than fit below: present everything
  int exposedCount;
  struct { int32_t left, top, right, bottom; } exposed[kMaxExposedAreas];
};

struct PlayWindow {
  int32_t width, height;
  // The monitors the window spans, in its own pixels, each laid out as a screen of its own;
  // none when the window is one monitor (a window of its own, XScreenSaver's window per monitor).
  int monitorCount;
  WindowMonitor monitors[kMaxWindowMonitors];
  // The surface the engine presents into, the window's size; replaced by `resize`.
  Surface* surface;
  // Milliseconds of a clock that never goes back.
  int64_t (*now)(PlayWindow* window);
  // Returns when events arrived (adding them to *events), when the clock reaches `deadline`
  // (never, when it is negative) or when a stop was asked for.
  void (*wait)(PlayWindow* window, int64_t deadline, WindowEvents* events);
  // Takes a new size: the surface is made again. False when it cannot be.
  bool (*resize)(PlayWindow* window, int32_t width, int32_t height);
  // Shows the text (the paint rate) over the bottom-left corner of the picture.
  void (*showText)(PlayWindow* window, const char* text);
  // Sends what was presented to the screen.
  void (*flush)(PlayWindow* window);
  // Returns once the screen shows everything sent so far.
  void (*sync)(PlayWindow* window);
  void (*release)(PlayWindow* window);
};
