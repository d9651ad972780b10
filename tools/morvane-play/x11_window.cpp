#include "x11_window.h"

#include <poll.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "surface.h"
#include "surface_soft.h"
#include "x11_monitors.h"
#include "x11_present.h"

namespace {

// What a user expects of a hack's own window when nothing says otherwise.
const int32_t kOwnWindowWidth = 640, kOwnWindowHeight = 480;
// Mouse travel that ends a full-screen saver, counted as |dx| + |dy| from where it started.
const int kMouseTravel = 4;
// The window being drawn on. Xlib reports errors to one process-wide handler, which needs it to
// tell the window's disappearance (the daemon destroys its window when it unblanks) from a fault.
Window windowInUse = None;
bool windowLost = false;

struct X11Window {
  PlayWindow base;  // first: the loop sees only this
  Display* display;
  Window window;
  int screen;
  bool root;  // the monitors are the screen's
  bool own;
  bool fullscreen;
  int stopFd;
  Atom deleteWindow;
  X11Present present;
  XFontStruct* font;
  GC textGc;
  int pointerX, pointerY;  // where the pointer was when the full-screen saver started
};

X11Window* Self(PlayWindow* window) {
  return reinterpret_cast<X11Window*>(window);
}

// The window can vanish under a hack (the daemon destroys it when it unblanks); that ends the
// player like a close, instead of the default handler's exit.
int NoteError(Display* display, XErrorEvent* error) {
  if ((error->error_code == BadWindow || error->error_code == BadDrawable) && error->resourceid == windowInUse) {
    windowLost = true;
    return 0;
  }
  char text[128];
  XGetErrorText(display, error->error_code, text, sizeof text);
  std::fprintf(stderr, "morvane-play: X error: %s (request %d)\n", text, error->request_code);
  return 0;
}

int64_t Now(PlayWindow*) {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void AddExposed(WindowEvents* events, const XExposeEvent& e) {
  if (events->exposedCount == kMaxExposedAreas) {
    events->exposedAll = true;
    return;
  }
  auto& area = events->exposed[events->exposedCount++];
  area.left = e.x;
  area.top = e.y;
  area.right = e.x + e.width;
  area.bottom = e.y + e.height;
}

void HandleEvent(X11Window* self, XEvent& event, WindowEvents* events) {
  switch (event.type) {
    case Expose:
      if (event.xexpose.window == self->window) AddExposed(events, event.xexpose);
      break;
    case ConfigureNotify:
      if (event.xconfigure.window == self->window) {
        events->resized = true;
        events->width = event.xconfigure.width;
        events->height = event.xconfigure.height;
      }
      break;
    case DestroyNotify:
      if (event.xdestroywindow.window == self->window) events->stop = true;
      break;
    case ClientMessage:
      if (static_cast<Atom>(event.xclient.data.l[0]) == self->deleteWindow) events->stop = true;
      break;
    case KeyPress: {
      if (self->fullscreen) {
        events->stop = true;
        break;
      }
      KeySym key = XLookupKeysym(&event.xkey, 0);
      if (key == XK_q || key == XK_Q || key == XK_Escape) events->stop = true;
      break;
    }
    case ButtonPress:
      if (self->fullscreen) events->stop = true;
      break;
    case MotionNotify:
      if (self->fullscreen) {
        int dx = event.xmotion.x_root - self->pointerX, dy = event.xmotion.y_root - self->pointerY;
        if ((dx < 0 ? -dx : dx) + (dy < 0 ? -dy : dy) > kMouseTravel) events->stop = true;
      }
      break;
  }
}

// One wait costs one read of the connection and one poll: at 25 paints a second a screen saver
// otherwise spends more on looking for events that never come than on some of its drawing.
void Wait(PlayWindow* window, int64_t deadline, WindowEvents* events) {
  X11Window* self = Self(window);
  for (;;) {
    // Xlib may already hold events it read with earlier replies, which poll() would not see;
    // what the connection holds is read without blocking.
    bool any = false;
    while (XEventsQueued(self->display, QueuedAfterReading)) {
      XEvent event;
      XNextEvent(self->display, &event);
      HandleEvent(self, event, events);
      any = true;
    }
    if (windowLost) events->stop = true;
    if (any || events->stop) return;
    int timeout = -1;
    if (deadline >= 0) {
      const int64_t left = deadline - Now(window);
      timeout = left <= 0 ? 0 : left > 60000 ? 60000 : static_cast<int>(left);
    }
    // The stop pipe is looked at here too, also when the deadline has already come.
    pollfd fds[2] = {{ConnectionNumber(self->display), POLLIN, 0}, {self->stopFd, POLLIN, 0}};
    const int ready = poll(fds, self->stopFd >= 0 ? 2 : 1, timeout);
    if (ready > 0 && (fds[0].revents & (POLLHUP | POLLERR))) {
      events->stop = events->displayLost = true;
      return;
    }
    if (ready > 0 && self->stopFd >= 0 && (fds[1].revents & POLLIN)) {
      events->stop = true;
      return;
    }
    if (ready > 0 && (fds[0].revents & POLLIN)) continue;
    if (deadline >= 0 && Now(window) >= deadline) return;
  }
}

bool Resize(PlayWindow* window, int32_t width, int32_t height) {
  X11Window* self = Self(window);
  ReleaseSurface(window->surface);
  window->surface = nullptr;
  if (!ResizeX11Present(&self->present, width, height)) return false;
  window->width = width;
  window->height = height;
  // A root window changes size when the monitors change.
  if (self->root) window->monitorCount = ReadX11Monitors(self->display, self->screen, window->monitors);
  window->surface = CreateSoftWindow(width, height, &self->present.sink);
  return window->surface != nullptr;
}

void ShowText(PlayWindow* window, const char* text) {
  X11Window* self = Self(window);
  if (!self->font) return;
  const int length = static_cast<int>(std::strlen(text));
  XDrawImageString(self->display, self->window, self->textGc, 4, window->height - 4 - self->font->descent, text,
                   length);
}

void Flush(PlayWindow* window) {
  FlushX11Present(&Self(window)->present);
}

void Sync(PlayWindow* window) {
  XSync(Self(window)->display, False);
}

void Release(PlayWindow* window) {
  X11Window* self = Self(window);
  ReleaseSurface(window->surface);
  CloseX11Present(&self->present);
  if (self->font) XFreeFont(self->display, self->font);
  if (self->textGc) XFreeGC(self->display, self->textGc);
  if (self->own) {
    XDestroyWindow(self->display, self->window);
  } else if (!windowLost) {
    XSelectInput(self->display, self->window, 0);
  }
  XCloseDisplay(self->display);
  windowInUse = None;
  delete self;
}

// A 24-bit true-colour visual for a window of its own: the screen's default when it is one.
bool ChooseVisual(Display* display, int screen, Visual** visual, int* depth) {
  *visual = DefaultVisual(display, screen);
  *depth = DefaultDepth(display, screen);
  std::string ignored;
  if (CheckPresentVisual(display, *visual, *depth, &ignored)) return true;
  XVisualInfo info;
  if (!XMatchVisualInfo(display, screen, 24, TrueColor, &info)) return false;
  *visual = info.visual;
  *depth = info.depth;
  return true;
}

Window CreateOwnWindow(X11Window* self, int screen, Visual* visual, int depth, const char* title) {
  Display* display = self->display;
  Window root = RootWindow(display, screen);
  int32_t width = kOwnWindowWidth, height = kOwnWindowHeight;
  if (self->fullscreen) {
    width = DisplayWidth(display, screen);
    height = DisplayHeight(display, screen);
  }
  XSetWindowAttributes attributes;
  attributes.background_pixel = BlackPixel(display, screen);
  attributes.border_pixel = 0;
  attributes.colormap = visual == DefaultVisual(display, screen) ? DefaultColormap(display, screen)
                                                                 : XCreateColormap(display, root, visual, AllocNone);
  attributes.event_mask = ExposureMask | StructureNotifyMask | KeyPressMask |
                          (self->fullscreen ? ButtonPressMask | PointerMotionMask : 0);
  Window window = XCreateWindow(display, root, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                                depth, InputOutput, visual, CWBackPixel | CWBorderPixel | CWColormap | CWEventMask,
                                &attributes);
  XStoreName(display, window, title);
  XClassHint hint = {const_cast<char*>("morvane-play"), const_cast<char*>("Morvane")};
  XSetClassHint(display, window, &hint);
  self->deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display, window, &self->deleteWindow, 1);
  if (self->fullscreen) {
    Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    Atom full = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    XChangeProperty(display, window, state, XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&full), 1);
    // No pointer over the picture, as a screen saver.
    static char blank[1] = {0};
    Pixmap empty = XCreateBitmapFromData(display, window, blank, 1, 1);
    XColor black = {};
    Cursor none = XCreatePixmapCursor(display, empty, empty, &black, &black, 0, 0);
    XDefineCursor(display, window, none);
    XFreeCursor(display, none);
    XFreePixmap(display, empty);
    Window rootReturn, child;
    int wx, wy;
    unsigned mask;
    XQueryPointer(display, root, &rootReturn, &child, &self->pointerX, &self->pointerY, &wx, &wy, &mask);
  }
  XMapRaised(display, window);
  return window;
}

}  // namespace

PlayWindow* OpenX11Window(const X11WindowRequest& request, std::string* problem) {
  Display* display = XOpenDisplay(request.display);
  if (!display) {
    *problem = std::string("cannot open display ") +
               (request.display ? request.display : (std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "(none)"));
    return nullptr;
  }
  XSetErrorHandler(NoteError);
  X11Window* self = new X11Window();
  self->display = display;
  self->stopFd = request.stopFd;
  self->fullscreen = request.fullscreen;
  // Before the picture exists: only the window of its own and the connection to undo.
  auto refuse = [&](const std::string& why) -> PlayWindow* {
    *problem = why;
    if (self->own) XDestroyWindow(display, self->window);
    XCloseDisplay(display);
    delete self;
    return nullptr;
  };
  const int screen = DefaultScreen(display);
  Visual* visual = nullptr;
  int depth = 0;
  int32_t width = 0, height = 0;
  if (request.target == OwnWindow) {
    if (!ChooseVisual(display, screen, &visual, &depth)) return refuse("the display has no 24-bit true-colour visual");
    self->own = true;
    self->window = CreateOwnWindow(self, screen, visual, depth, request.title);
  } else {
    self->window = request.target == RootWindow ? RootWindow(display, screen) : request.windowId;
  }
  self->screen = screen;
  self->root = request.target == RootWindow;
  windowInUse = self->window;
  windowLost = false;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, self->window, &attributes) || windowLost) {
    char id[32];
    std::snprintf(id, sizeof id, "0x%lx", static_cast<unsigned long>(self->window));
    return refuse(std::string("no window ") + id + " on the display");
  }
  visual = attributes.visual;
  depth = attributes.depth;
  width = attributes.width;
  height = attributes.height;
  std::string unusable;
  if (!CheckPresentVisual(display, visual, depth, &unusable)) return refuse(unusable);
  if (!self->own) {
    // Only what everyone may select on a window another program owns: drawing requests and
    // size changes. Its input belongs to its owner.
    XSelectInput(display, self->window, attributes.your_event_mask | ExposureMask | StructureNotifyMask);
  }
  if (!OpenX11Present(&self->present, display, self->window, visual, depth, width, height)) {
    *problem = "not enough memory for the window's picture";
    Release(&self->base);
    return nullptr;
  }
  self->font = XLoadQueryFont(display, "fixed");
  if (self->font) {
    XGCValues values;
    values.foreground = WhitePixel(display, screen);
    values.background = BlackPixel(display, screen);
    values.font = self->font->fid;
    self->textGc = XCreateGC(display, self->window, GCForeground | GCBackground | GCFont, &values);
  }
  PlayWindow* window = &self->base;
  window->width = width;
  window->height = height;
  window->monitorCount = self->root ? ReadX11Monitors(display, screen, window->monitors) : 0;
  window->surface = CreateSoftWindow(width, height, &self->present.sink);
  window->now = Now;
  window->wait = Wait;
  window->resize = Resize;
  window->showText = ShowText;
  window->flush = Flush;
  window->sync = Sync;
  window->release = Release;
  return window;
}
