// The monitors of an X screen as Xinerama or RandR reports them, for a player on the root
// window: each monitor gets the background laid out as a screen of its own.
#pragma once
#include <X11/Xlib.h>

#include "play_window.h"

// Fills `monitors` (at most kMaxWindowMonitors) in the root window's pixels and returns how many
// there are; 0 when the screen is one monitor or neither extension says otherwise.
int ReadX11Monitors(Display* display, int screen, WindowMonitor* monitors);
