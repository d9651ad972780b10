// What the tests of the Linux programs share: a private Xvfb, child processes with their error
// output, and pictures read back from PNG files and X windows. Scratch folders and file bytes
// come from the builder tests' support.
#pragma once
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

#include "build_test_support.h"

// An Xvfb of its own for one test, ended with it.
class PrivateDisplay {
 public:
  // extraArguments: e.g. {"-extension", "MIT-SHM"}.
  PrivateDisplay(int width, int height, const std::vector<std::string>& extraArguments = {});
  ~PrivateDisplay();
  bool ok() const { return number_ >= 0; }
  std::string name() const { return ":" + std::to_string(number_); }

 private:
  pid_t pid_ = -1;
  int number_ = -1;
};

// Two monitors side by side on one X screen, as Xinerama reports them: Xephyr's two screens in
// an Xvfb of their own (Xvfb's own Xinerama lays its screens over each other).
class TwoHeadDisplay {
 public:
  TwoHeadDisplay(int width, int height);  // of each monitor
  ~TwoHeadDisplay();
  bool ok() const { return number_ >= 0; }
  std::string name() const { return ":" + std::to_string(number_); }

 private:
  PrivateDisplay outer_;
  pid_t pid_ = -1;
  int number_ = -1;
};

// Divides the display's screen into `count` side-by-side RandR monitors, as xrandr --setmonitor
// does for one wide output; Xinerama then still says nothing. False when the server refuses.
bool SplitIntoRandrMonitors(const std::string& display, int count);

// A program run with its standard error read as it comes.
class Child {
 public:
  Child(const std::vector<std::string>& argv, const std::vector<std::string>& environment = {});
  ~Child();
  // Waits until the error output holds `text`; false after the timeout or when the child ended.
  bool WaitForOutput(const std::string& text, int timeoutMs = 20000);
  // Waits for the end; the exit status, 128 + signal, or -1 after the timeout (then killed).
  int Wait(int timeoutMs = 20000);
  void Signal(int signal);
  pid_t pid() const { return pid_; }
  const std::string& output() const { return output_; }

 private:
  void ReadAvailable(int timeoutMs);
  pid_t pid_ = -1;
  int errorFd_ = -1;
  std::string output_;
  int status_ = -1;
};

// Runs a program to its end: exit status, standard output and error together.
int RunTool(const std::vector<std::string>& argv, std::string* output);

struct Pixels {
  int32_t width = 0, height = 0;
  std::vector<uint32_t> colours;  // 0x00BBGGRR, top row first
  uint32_t at(int32_t x, int32_t y) const { return colours[static_cast<size_t>(y) * width + x]; }
};

bool ReadPng(const std::string& path, Pixels* pixels);
// The window's pixels as the X server holds them (XGetImage), converted from its true-colour
// format. A null window id means the root window.
bool ReadWindowPixels(const std::string& display, unsigned long window, Pixels* pixels);
// "" when equal, else where and how they first differ.
std::string FirstDifference(const Pixels& expected, const Pixels& actual);
