// morvane-xdnd-drop: an X11 drag source for the tests, as a Linux file manager is one. It drops a
// list of files on a window at a point of the screen through the XDND protocol and waits for the
// target to say it has finished; Wine turns such a drop into the shell's WM_DROPFILES.
//   morvane-xdnd-drop WINDOW X Y FILE...   (FILE as an absolute Linux path)
// Exit status 0 when the drop was taken, 1 when the target refused it or did not answer.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

void SendToTarget(Display* display, Window target, Window source, Atom type, long a, long b, long c, long d) {
  XEvent event;
  std::memset(&event, 0, sizeof event);
  event.xclient.type = ClientMessage;
  event.xclient.display = display;
  event.xclient.window = target;
  event.xclient.message_type = type;
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(source);
  event.xclient.data.l[1] = a;
  event.xclient.data.l[2] = b;
  event.xclient.data.l[3] = c;
  event.xclient.data.l[4] = d;
  XSendEvent(display, target, False, NoEventMask, &event);
  XFlush(display);
}

// The files as the uri list the target asks for.
void GiveSelection(Display* display, const XSelectionRequestEvent& request, const std::string& list) {
  XChangeProperty(display, request.requestor, request.property, request.target, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(list.data()), static_cast<int>(list.size()));
  XEvent reply;
  std::memset(&reply, 0, sizeof reply);
  reply.xselection.type = SelectionNotify;
  reply.xselection.requestor = request.requestor;
  reply.xselection.selection = request.selection;
  reply.xselection.target = request.target;
  reply.xselection.property = request.property;
  reply.xselection.time = request.time;
  XSendEvent(display, request.requestor, False, NoEventMask, &reply);
  XFlush(display);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: morvane-xdnd-drop WINDOW X Y FILE...\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "morvane-xdnd-drop: cannot open the display\n");
    return 2;
  }
  const Window target = static_cast<Window>(std::strtoul(argv[1], nullptr, 0));
  const long x = std::atol(argv[2]), y = std::atol(argv[3]);
  std::string list;
  for (int i = 4; i < argc; ++i) list += std::string("file://") + argv[i] + "\r\n";

  const Window source = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
  const Atom status = XInternAtom(display, "XdndStatus", False), finished = XInternAtom(display, "XdndFinished", False);
  XSetSelectionOwner(display, XInternAtom(display, "XdndSelection", False), source, CurrentTime);
  // Version 5, with the one type it offers in the message itself.
  SendToTarget(display, target, source, XInternAtom(display, "XdndEnter", False), 5L << 24,
               static_cast<long>(XInternAtom(display, "text/uri-list", False)), 0, 0);
  SendToTarget(display, target, source, XInternAtom(display, "XdndPosition", False), 0, (x << 16) | y, CurrentTime,
               static_cast<long>(XInternAtom(display, "XdndActionCopy", False)));
  bool dropped = false;
  for (const std::time_t start = std::time(nullptr); std::time(nullptr) - start < 10;) {
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == SelectionRequest) GiveSelection(display, event.xselectionrequest, list);
      if (event.type != ClientMessage) continue;
      if (event.xclient.message_type == status && !dropped) {
        if ((event.xclient.data.l[1] & 1) == 0) {
          std::fprintf(stderr, "morvane-xdnd-drop: the window does not take the drop there\n");
          XCloseDisplay(display);
          return 1;
        }
        SendToTarget(display, target, source, XInternAtom(display, "XdndDrop", False), 0, CurrentTime, 0, 0);
        dropped = true;
      } else if (event.xclient.message_type == finished) {
        XCloseDisplay(display);
        return 0;
      }
    }
    const timespec pause = {0, 20000000};
    nanosleep(&pause, nullptr);
  }
  std::fprintf(stderr, "morvane-xdnd-drop: no answer from the window\n");
  XCloseDisplay(display);
  return 1;
}
