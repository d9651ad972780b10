// morvane-play: plays a packaged saver or a settings file on X11, as a display hack for
// XScreenSaver or in a window of its own.
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "play_loop.h"
#include "play_options.h"
#include "play_window.h"
#include "scene_file.h"
#include "sound_output.h"
#include "tool_version.h"
#include "x11_window.h"
#include "xscreensaver_file.h"

namespace {

// The write end of the pipe the loop watches: XScreenSaver ends a hack with SIGTERM, a terminal
// with SIGINT or SIGHUP, and each must let the loop release the window and its shared memory.
int stopWriteFd = -1;

void AskToStop(int) {
  const char byte = 1;
  if (write(stopWriteFd, &byte, 1) < 0) {
    // The pipe is full: a stop is already waiting.
  }
}

int StopPipe() {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  for (int fd : fds) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  for (int fd : fds) fcntl(fd, F_SETFD, FD_CLOEXEC);
  stopWriteFd = fds[1];
  struct sigaction action = {};
  action.sa_handler = AskToStop;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
  return fds[0];
}

std::string OwnPath() {
  char self[4096];
  ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return std::string();
  self[length] = '\0';
  return self;
}

// The sample scene installed beside the program, found from the program's own place so that
// any install prefix works.
std::string SampleScene() {
  std::string folder = OwnPath();
  if (folder.empty()) return std::string();
  folder.erase(folder.rfind('/'));
  std::string scene = folder + "/" + MORVANE_SAMPLE_SCENE;
  return access(scene.c_str(), R_OK) == 0 ? scene : std::string();
}

// A word as the shell reads it back: XScreenSaver hands a command with quotes to /bin/sh.
std::string ShellWord(const std::string& word) {
  bool plain = !word.empty();
  for (unsigned char c : word)
    plain = plain && (std::isalnum(c) || std::strchr("/._+-,:@%=", c)) && c < 0x80;
  if (plain) return word;
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// The program line for XScreenSaver: the hack by its name where XScreenSaver looks for hacks,
// else by its full path; the scene by its full path, so that the daemon finds it from anywhere.
int ChangeXScreenSaverList(const PlayOptions& options) {
  std::string message;
  const XScreenSaverFiles files = UserXScreenSaverFiles();
  bool done;
  if (options.listChange == RemoveFromXScreenSaverList) {
    done = RemoveFromXScreenSaver(files, "morvane-play", &message);
  } else {
    std::string self = OwnPath();
    if (self.empty()) {
      std::fprintf(stderr, "morvane-play: its own place is unknown; nothing was changed\n");
      return 1;
    }
    const bool inHackFolder = self.substr(0, self.rfind('/')) == MORVANE_XSCREENSAVER_HACK_DIR;
    std::string command = (inHackFolder ? std::string("morvane-play") : ShellWord(self)) + " --root";
    if (!options.scene.empty()) {
      char full[PATH_MAX];
      SceneFile file;
      std::string problem;
      if (!realpath(options.scene.c_str(), full) || !ReadSceneFile(full, &file, &problem)) {
        if (problem.empty()) problem = options.scene + ": " + std::strerror(errno);
        std::fprintf(stderr, "morvane-play: %s; nothing was changed\n", problem.c_str());
        return 1;
      }
      if (std::strchr(full, '\n')) {
        std::fprintf(stderr, "morvane-play: %s: a scene path with a line break cannot be listed; nothing was changed\n", full);
        return 1;
      }
      command += " --scene " + ShellWord(full);
    }
    done = AddToXScreenSaver(files, "Morvane", command, &message);
  }
  if (!done) {
    std::fprintf(stderr, "morvane-play: %s; nothing was changed\n", message.c_str());
    return 1;
  }
  std::printf("morvane-play: %s\n", message.c_str());
  return 0;
}

// Milliseconds from the start of this process (its exec) to now, from the kernel's record of
// when it started, in clock ticks since boot; negative when that record cannot be read.
double MillisecondsSinceStart() {
  FILE* file = std::fopen("/proc/self/stat", "r");
  if (!file) return -1;
  char text[1024];
  const size_t length = std::fread(text, 1, sizeof text - 1, file);
  std::fclose(file);
  text[length] = '\0';
  // The command name, in parentheses, may hold spaces; the start time is the 20th field after it.
  const char* field = std::strrchr(text, ')');
  for (int i = 0; field && i < 20; ++i) field = std::strchr(field + 1, ' ');
  timespec now;
  if (!field || clock_gettime(CLOCK_BOOTTIME, &now) != 0) return -1;
  const double started = std::strtod(field + 1, nullptr) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6 - started;
}

// What MORVANE_PLAY_FIRST_PICTURE asks for: how long the start took, for benchmarks.
void ReportFirstPicture() {
  std::fprintf(stderr, "morvane-play: first picture on the screen %.0f ms after start\n", MillisecondsSinceStart());
}

std::string BaseName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
  PlayOptions options;
  std::string problem;
  if (!ParsePlayOptions(argc, argv, std::getenv("XSCREENSAVER_WINDOW"), &options, &problem)) {
    std::fprintf(stderr, "morvane-play: %s\n%s", problem.c_str(), kPlayUsage);
    return 2;
  }
  if (options.help) {
    std::fputs(kPlayUsage, stdout);
    return 0;
  }
  if (options.version) {
    PrintToolVersion("morvane-play");
    return 0;
  }
  if (options.listChange != NoListChange) return ChangeXScreenSaverList(options);
  if (options.scene.empty()) options.scene = SampleScene();
  if (options.scene.empty()) {
    std::fprintf(stderr, "morvane-play: no scene given, and no sample scene installed\n%s", kPlayUsage);
    return 2;
  }
  SceneFile file;
  file.program = "morvane-play";
  if (!ReadSceneFile(options.scene.c_str(), &file, &problem)) {
    std::fprintf(stderr, "morvane-play: %s\n", problem.c_str());
    return 1;
  }
  std::string damage = PackageDamage(file);
  if (!damage.empty()) std::fprintf(stderr, "morvane-play: note: %s; playing what loaded\n", damage.c_str());

  const int stopFd = StopPipe();
  const std::string title = "Morvane: " + BaseName(options.scene);
  X11WindowRequest request = {options.target, options.windowId, options.fullscreen,
                              options.display.empty() ? nullptr : options.display.c_str(), title.c_str(), stopFd};
  PlayWindow* window = OpenX11Window(request, &problem);
  if (!window) {
    std::fprintf(stderr, "morvane-play: %s\n", problem.c_str());
    return 1;
  }
  SoundOutput* sound = options.sound ? OpenPulseSound() : OpenSilentSound();
  PlayLoopOptions loop = {options.seeded ? options.seed : static_cast<uint32_t>(std::time(nullptr)),
                          options.showFps, options.paints,
                          options.delay < 0 ? 0 : static_cast<int32_t>(options.delay < 1000 ? 1 : (options.delay + 500) / 1000),
                          nullptr};
  const char* timing = std::getenv("MORVANE_PLAY_FIRST_PICTURE");
  if (timing && *timing) loop.firstPictureShown = ReportFirstPicture;
  PlayEnd end = RunPlayLoop(window, &file, sound, loop);
  sound->release(sound);
  window->release(window);
  if (end == PlayStartFailed) {
    std::fprintf(stderr, "morvane-play: not enough memory to start the scene\n");
    return 1;
  }
  if (end == PlayDisplayLost) {
    std::fprintf(stderr, "morvane-play: the connection to the display was lost\n");
    return 1;
  }
  return 0;
}
