// The X11 window a scene plays in: one of its own (in a window or over the whole screen), the
// root window, or a window another program made (XScreenSaver's, or -window-id).
#pragma once
#include <string>

#include "play_options.h"
#include "play_window.h"

struct X11WindowRequest {
  PlayTarget target;
  unsigned long windowId;
  bool fullscreen;
  const char* display;  // null: $DISPLAY
  const char* title;
  int stopFd;  // readable when the player is asked to end (a signal arrived)
};

// Null, with a one-line message, when the display cannot be opened, the window does not exist,
// or its visual cannot be drawn on.
PlayWindow* OpenX11Window(const X11WindowRequest& request, std::string* problem);
