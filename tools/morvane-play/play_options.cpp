#include "play_options.h"

#include <cstring>

const char kPlayUsage[] =
    "Usage: morvane-play [OPTION]... [[--scene] FILE]\n"
    "  or:  morvane-play --add-to-xscreensaver [FILE]\n"
    "  or:  morvane-play --remove-from-xscreensaver\n"
    "Plays FILE, a packaged saver (.scr) or a settings file (MORVANE.INI), on X11; without\n"
    "FILE, the sample scene installed with it.\n"
    "\n"
    "  --window          in a window of its own (the default)\n"
    "  --fullscreen      that window over the whole screen, ended by a key, a button or moving\n"
    "                    the mouse, as a screen saver\n"
    "  --root            on the root window; the background is laid out on every monitor\n"
    "  --window-id ID    in the window ID (decimal or 0x hexadecimal); XSCREENSAVER_WINDOW in\n"
    "                    the environment does the same unless --window or --window-id is given\n"
    "  --display NAME    the X display to use\n"
    "  --fps             show the paints per second on the picture\n"
    "  --delay USEC      microseconds from one paint to the next (default: the scene's own)\n"
    "  --no-sound        play the scene's sound silently\n"
    "  --seed N          random seed (0 to 4294967295): the same pictures on every run\n"
    "  --paints N        stop after N paints and keep showing the last picture\n"
    "  --add-to-xscreensaver [FILE]\n"
    "                    add morvane-play (playing FILE, or the sample scene) to the programs\n"
    "                    list of ~/.xscreensaver, made from the system's list when absent; the\n"
    "                    file as it was is kept as ~/.xscreensaver.morvane-backup\n"
    "  --remove-from-xscreensaver\n"
    "                    take every morvane-play line out of that list again\n"
    "  --help            show this text and exit\n"
    "  --version         show the version and exit\n"
    "\n"
    "Every option also takes one dash, as XScreenSaver writes them. Exit status: 0 ended\n"
    "normally, 1 the scene or the display could not be played or the list not changed, 2 usage\n"
    "error.\n";

namespace {

bool ParseNumber(const char* text, int base, uint64_t limit, uint64_t* value) {
  if (!*text) return false;
  uint64_t v = 0;
  for (const char* c = text; *c; ++c) {
    int digit;
    if (*c >= '0' && *c <= '9') {
      digit = *c - '0';
    } else if (base == 16 && (*c | 0x20) >= 'a' && (*c | 0x20) <= 'f') {
      digit = (*c | 0x20) - 'a' + 10;
    } else {
      return false;
    }
    v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    if (v > limit) return false;
  }
  *value = v;
  return true;
}

}  // namespace

bool ParseWindowId(const char* text, unsigned long* id) {
  uint64_t value = 0;
  const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  // X resource ids have 29 bits.
  if (!ParseNumber(hex ? text + 2 : text, hex ? 16 : 10, 0x1FFFFFFF, &value) || value == 0) return false;
  *id = static_cast<unsigned long>(value);
  return true;
}

bool ParsePlayOptions(int argc, const char* const* argv, const char* screensaverWindow,
                      PlayOptions* options, std::string* problem) {
  bool chosen = false;  // -window or -window-id given: XSCREENSAVER_WINDOW does not apply
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    const char* name = arg[0] == '-' && arg[1] == '-' ? arg + 1 : arg;
    auto value = [&](const char** out) {
      if (i + 1 >= argc) {
        *problem = std::string(arg) + " needs a value";
        return false;
      }
      *out = argv[++i];
      return true;
    };
    const char* text = nullptr;
    uint64_t number = 0;
    if (!std::strcmp(name, "-help") || !std::strcmp(name, "-h")) {
      options->help = true;
      return true;
    } else if (!std::strcmp(name, "-version")) {
      options->version = true;
      return true;
    } else if (!std::strcmp(name, "-window")) {
      options->target = OwnWindow;
      chosen = true;
    } else if (!std::strcmp(name, "-root")) {
      options->target = RootWindow;
    } else if (!std::strcmp(name, "-window-id")) {
      if (!value(&text)) return false;
      if (!ParseWindowId(text, &options->windowId)) {
        *problem = std::string("-window-id ") + text + ": not a window id";
        return false;
      }
      options->target = GivenWindow;
      chosen = true;
    } else if (!std::strcmp(name, "-fullscreen")) {
      options->fullscreen = true;
    } else if (!std::strcmp(name, "-fps")) {
      options->showFps = true;
    } else if (!std::strcmp(name, "-no-sound")) {
      options->sound = false;
    } else if (!std::strcmp(name, "-sound")) {
      options->sound = true;
    } else if (!std::strcmp(name, "-display")) {
      if (!value(&text)) return false;
      options->display = text;
    } else if (!std::strcmp(name, "-scene")) {
      if (!value(&text)) return false;
      if (!options->scene.empty()) {
        *problem = std::string("one scene only: ") + text;
        return false;
      }
      options->scene = text;
    } else if (!std::strcmp(name, "-seed")) {
      if (!value(&text)) return false;
      if (!ParseNumber(text, 10, 0xFFFFFFFFull, &number)) {
        *problem = std::string("-seed ") + text + ": not a whole number from 0 to 4294967295";
        return false;
      }
      options->seed = static_cast<uint32_t>(number);
      options->seeded = true;
    } else if (!std::strcmp(name, "-delay")) {
      if (!value(&text)) return false;
      if (!ParseNumber(text, 10, 10000000, &number)) {
        *problem = std::string("-delay ") + text + ": not a whole number of microseconds from 0 to 10000000";
        return false;
      }
      options->delay = static_cast<int64_t>(number);
    } else if (!std::strcmp(name, "-add-to-xscreensaver")) {
      options->listChange = AddToXScreenSaverList;
    } else if (!std::strcmp(name, "-remove-from-xscreensaver")) {
      options->listChange = RemoveFromXScreenSaverList;
    } else if (!std::strcmp(name, "-paints")) {
      if (!value(&text)) return false;
      if (!ParseNumber(text, 10, 1000000000, &number) || number == 0) {
        *problem = std::string("-paints ") + text + ": not a whole number from 1 to 1000000000";
        return false;
      }
      options->paints = static_cast<int64_t>(number);
    } else if (arg[0] == '-' && arg[1] != '\0') {
      *problem = std::string("unknown option ") + arg;
      return false;
    } else {
      if (!options->scene.empty()) {
        *problem = std::string("one scene only: ") + arg;
        return false;
      }
      options->scene = arg;
    }
  }
  if (!chosen && screensaverWindow && *screensaverWindow) {
    if (!ParseWindowId(screensaverWindow, &options->windowId)) {
      *problem = std::string("XSCREENSAVER_WINDOW=") + screensaverWindow + ": not a window id";
      return false;
    }
    options->target = GivenWindow;
  }
  if (options->listChange == RemoveFromXScreenSaverList && !options->scene.empty()) {
    *problem = "--remove-from-xscreensaver takes no scene: it takes out every morvane-play line";
    return false;
  }
  if (options->fullscreen && options->target != OwnWindow) {
    *problem = "-fullscreen is for a window of its own";
    return false;
  }
  return true;
}
