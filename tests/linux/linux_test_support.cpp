#include "linux_test_support.h"

#include <fcntl.h>
#include <poll.h>
#include <png.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int64_t Millis() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& environment, int stdoutFd,
            int stderrFd) {
  pid_t pid = fork();
  if (pid != 0) return pid;
  int devnull = open("/dev/null", O_RDWR);
  dup2(devnull, 0);
  dup2(stdoutFd >= 0 ? stdoutFd : devnull, 1);
  dup2(stderrFd >= 0 ? stderrFd : devnull, 2);
  for (const std::string& entry : environment) putenv(strdup(entry.c_str()));
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

int Channel(unsigned long mask, unsigned long pixel) {
  int shift = 0;
  while (mask && !(mask & 1)) {
    mask >>= 1;
    ++shift;
  }
  return static_cast<int>((pixel >> shift) & 0xFF);
}

}  // namespace

namespace {

// Starts an X server that picks a free display number and writes it once it is ready
// (-displayfd); -1 when it does not answer within ten seconds.
int StartServer(std::vector<std::string> argv, const std::vector<std::string>& environment, pid_t* pid) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  argv.insert(argv.begin() + 1, {"-displayfd", std::to_string(fds[1])});
  fcntl(fds[0], F_SETFD, FD_CLOEXEC);  // the server keeps only the end it writes its number to
  *pid = Spawn(argv, environment, -1, -1);
  close(fds[1]);
  std::string number;
  pollfd wait = {fds[0], POLLIN, 0};
  char c;
  while (poll(&wait, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  return number.empty() ? -1 : std::atoi(number.c_str());
}

void StopServer(pid_t pid) {
  if (pid > 0) {
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
  }
}

}  // namespace

PrivateDisplay::PrivateDisplay(int width, int height, const std::vector<std::string>& extraArguments) {
  std::vector<std::string> argv = {"Xvfb", "-screen", "0",
                                   std::to_string(width) + "x" + std::to_string(height) + "x24",
                                   "-nolisten", "tcp", "-ac", "-br", "-noreset"};
  argv.insert(argv.end(), extraArguments.begin(), extraArguments.end());
  number_ = StartServer(argv, {}, &pid_);
}

PrivateDisplay::~PrivateDisplay() {
  StopServer(pid_);
}

TwoHeadDisplay::TwoHeadDisplay(int width, int height) : outer_(2 * width, height) {
  if (!outer_.ok()) return;
  const std::string head = std::to_string(width) + "x" + std::to_string(height);
  number_ = StartServer({"Xephyr", "+xinerama", "-screen", head, "-screen", head, "-nolisten", "tcp", "-ac",
                         "-br", "-noreset"},
                        {"DISPLAY=" + outer_.name()}, &pid_);
}

TwoHeadDisplay::~TwoHeadDisplay() {
  StopServer(pid_);
}

bool SplitIntoRandrMonitors(const std::string& name, int count) {
  Display* display = XOpenDisplay(name.c_str());
  if (!display) return false;
  Window root = DefaultRootWindow(display);
  XRRScreenResources* resources = XRRGetScreenResources(display, root);
  bool ok = resources && resources->noutput > 0;
  const int width = DisplayWidth(display, DefaultScreen(display)) / count;
  for (int i = 0; ok && i < count; ++i) {
    // The first takes the output, which hides the output's own monitor; the others have none.
    XRRMonitorInfo* monitor = XRRAllocateMonitor(display, i == 0 ? 1 : 0);
    const std::string monitorName = "morvane-test-" + std::to_string(i);
    monitor->name = XInternAtom(display, monitorName.c_str(), False);
    monitor->primary = i == 0;
    monitor->x = i * width;
    monitor->y = 0;
    monitor->width = width;
    monitor->height = DisplayHeight(display, DefaultScreen(display));
    monitor->mwidth = monitor->width / 4;
    monitor->mheight = monitor->height / 4;
    if (i == 0) monitor->outputs[0] = resources->outputs[0];
    XRRSetMonitor(display, root, monitor);
    XFree(monitor);
  }
  if (resources) XRRFreeScreenResources(resources);
  int monitors = 0;
  XRRMonitorInfo* info = ok ? XRRGetMonitors(display, root, True, &monitors) : nullptr;
  if (info) XRRFreeMonitors(info);
  XCloseDisplay(display);
  return ok && monitors == count;
}

Child::Child(const std::vector<std::string>& argv, const std::vector<std::string>& environment) {
  int fds[2];
  if (pipe(fds) != 0) return;
  pid_ = Spawn(argv, environment, -1, fds[1]);
  close(fds[1]);
  errorFd_ = fds[0];
}

Child::~Child() {
  if (pid_ > 0 && status_ < 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (errorFd_ >= 0) close(errorFd_);
}

void Child::ReadAvailable(int timeoutMs) {
  pollfd wait = {errorFd_, POLLIN, 0};
  if (errorFd_ < 0 || poll(&wait, 1, timeoutMs) <= 0) return;
  char chunk[4096];
  ssize_t got = read(errorFd_, chunk, sizeof chunk);
  if (got > 0) {
    output_.append(chunk, static_cast<size_t>(got));
  } else {
    close(errorFd_);
    errorFd_ = -1;
  }
}

bool Child::WaitForOutput(const std::string& text, int timeoutMs) {
  const int64_t end = Millis() + timeoutMs;
  while (output_.find(text) == std::string::npos) {
    if (errorFd_ < 0 || Millis() >= end) return false;
    ReadAvailable(static_cast<int>(end - Millis()));
  }
  return true;
}

int Child::Wait(int timeoutMs) {
  if (status_ >= 0) return status_;
  const int64_t end = Millis() + timeoutMs;
  for (;;) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      while (errorFd_ >= 0) ReadAvailable(100);
      status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return status_;
    }
    if (Millis() >= end) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
      status_ = -1;
      return -1;
    }
    ReadAvailable(50);
  }
}

void Child::Signal(int signal) {
  if (pid_ > 0) kill(pid_, signal);
}

int RunTool(const std::vector<std::string>& argv, std::string* output) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  pid_t pid = Spawn(argv, {}, fds[1], fds[1]);
  close(fds[1]);
  output->clear();
  char chunk[4096];
  ssize_t got;
  while ((got = read(fds[0], chunk, sizeof chunk)) > 0) output->append(chunk, static_cast<size_t>(got));
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool ReadPng(const std::string& path, Pixels* pixels) {
  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return false;
  pixels->width = static_cast<int32_t>(image.width);
  pixels->height = static_cast<int32_t>(image.height);
  pixels->colours.resize(static_cast<size_t>(image.width) * image.height);
  for (size_t i = 0; i < pixels->colours.size(); ++i)
    pixels->colours[i] = rgb[i * 3] | (rgb[i * 3 + 1] << 8) | (static_cast<uint32_t>(rgb[i * 3 + 2]) << 16);
  return true;
}

bool ReadWindowPixels(const std::string& displayName, unsigned long window, Pixels* pixels) {
  Display* display = XOpenDisplay(displayName.c_str());
  if (!display) return false;
  Window target = window ? window : DefaultRootWindow(display);
  XWindowAttributes attributes;
  bool ok = XGetWindowAttributes(display, target, &attributes);
  XImage* image = ok ? XGetImage(display, target, 0, 0, static_cast<unsigned>(attributes.width),
                                 static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap)
                     : nullptr;
  if (image) {
    pixels->width = attributes.width;
    pixels->height = attributes.height;
    pixels->colours.resize(static_cast<size_t>(attributes.width) * attributes.height);
    for (int32_t y = 0; y < attributes.height; ++y)
      for (int32_t x = 0; x < attributes.width; ++x) {
        unsigned long p = XGetPixel(image, x, y);
        pixels->colours[static_cast<size_t>(y) * attributes.width + x] =
            Channel(image->red_mask, p) | (Channel(image->green_mask, p) << 8) |
            (static_cast<uint32_t>(Channel(image->blue_mask, p)) << 16);
      }
    XDestroyImage(image);
  }
  XCloseDisplay(display);
  return image != nullptr;
}

std::string FirstDifference(const Pixels& expected, const Pixels& actual) {
  if (expected.width != actual.width || expected.height != actual.height)
    return "size " + std::to_string(actual.width) + "x" + std::to_string(actual.height) + ", expected " +
           std::to_string(expected.width) + "x" + std::to_string(expected.height);
  size_t differing = 0, first = 0;
  for (size_t i = 0; i < expected.colours.size(); ++i)
    if (expected.colours[i] != actual.colours[i] && differing++ == 0) first = i;
  if (differing == 0) return std::string();
  char text[160];
  std::snprintf(text, sizeof text, "%zu pixels differ, the first at (%zu, %zu): %06x, expected %06x", differing,
                first % expected.width, first / expected.width, actual.colours[first], expected.colours[first]);
  return text;
}
