// The command line of morvane-play, as display hacks take theirs from XScreenSaver and its
// settings tool: every option with one dash or two.
#pragma once
#include <cstdint>
#include <string>

enum PlayTarget {
  OwnWindow,    // -window (the default): a window of its own
  RootWindow,   // -root: the screen's root window
  GivenWindow,  // -window-id ID, or the XSCREENSAVER_WINDOW the daemon sets
};

enum ListChangeAsked {
  NoListChange,
  AddToXScreenSaverList,       // --add-to-xscreensaver [SCENE]
  RemoveFromXScreenSaverList,  // --remove-from-xscreensaver
};

struct PlayOptions {
  PlayTarget target = OwnWindow;
  unsigned long windowId = 0;
  bool fullscreen = false;  // own window over the whole screen, ended by input
  bool showFps = false;
  bool sound = true;
  std::string display;  // empty: $DISPLAY
  std::string scene;  // empty: the installed sample scene
  bool seeded = false;  // -seed N: the same pictures on every run
  uint32_t seed = 0;
  int64_t paints = -1;  // -paints N: stop animating after N paints, keep showing the picture
  int64_t delay = -1;   // -delay USEC: the time between paints; negative: the scene's own
  ListChangeAsked listChange = NoListChange;
  bool help = false;
  bool version = false;
};

// `screensaverWindow` is the value of XSCREENSAVER_WINDOW, or null. False with a one-line
// message for a command line that is not understood.
bool ParsePlayOptions(int argc, const char* const* argv, const char* screensaverWindow,
                      PlayOptions* options, std::string* problem);

// A window id as X tools write them: decimal, or hexadecimal after "0x".
bool ParseWindowId(const char* text, unsigned long* id);

extern const char kPlayUsage[];
