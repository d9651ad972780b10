// One engine, the same pixels: morvane-render's picture after a number of paints is what
// morvane-play shows after as many paints, read back from the X server, whether it draws on the
// root window or on a window it is given, through MIT-SHM or plain XPutImage. The scene and the
// pictures are left in the build tree for the GDI test under Wine to compare with.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#include "agreement_scene.h"
#include "linux_test_support.h"
#include "picture_fixtures.h"

namespace {

const int32_t kPaintPeriod = 50;  // the agreement scene's redraw period

std::string Hex(unsigned long id) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%lx", id);
  return text;
}

// Segments of System V shared memory that the process made and that still exist.
int SharedSegmentsOf(pid_t pid) {
  std::ifstream list("/proc/sysvipc/shm");
  std::string line;
  std::getline(list, line);  // the heading
  int count = 0;
  while (std::getline(list, line)) {
    long key, id, mode, size, cpid;
    if (std::sscanf(line.c_str(), "%ld %ld %lo %ld %ld", &key, &id, &mode, &size, &cpid) == 5 && cpid == pid) ++count;
  }
  return count;
}

class SamePixels : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Left for the GDI test under Wine: the scene and morvane-render's pictures of it.
    ASSERT_EQ(system(("mkdir -p '" + Folder() + "'").c_str()), 0);
    WriteFileBytes(Scene(), SamePixelsSaver());
  }
  static std::string Folder() { return MORVANE_SAME_PIXELS_DIR; }
  static std::string Scene() { return Folder() + "/same-pixels.scr"; }

  // morvane-render's last picture after `paints` paints at the given size.
  Pixels Render(int32_t width, int32_t height, int paints) {
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    const std::string png = Folder() + "/render-" + size + "-" + std::to_string(paints) + ".png";
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.3f", (paints - 1) * kPaintPeriod / 1000.0);
    std::string output;
    EXPECT_EQ(RunTool({MORVANE_RENDER, Scene(), "--size", size, "--seconds", seconds, "--seed",
                       std::to_string(kSamePixelsSeed), png},
                      &output),
              0)
        << output;
    EXPECT_NE(output.find(std::to_string(paints) + " paints"), std::string::npos) << output;
    Pixels pixels;
    EXPECT_TRUE(ReadPng(png, &pixels)) << png;
    return pixels;
  }

  std::vector<std::string> Play(const std::string& display, std::vector<std::string> arguments) {
    std::vector<std::string> argv = {MORVANE_PLAY, "-display", display, "-no-sound", "-seed",
                                     std::to_string(kSamePixelsSeed)};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    argv.push_back(Scene());
    return argv;
  }
};

TEST_F(SamePixels, RootWindowThroughSharedMemoryAndAfterExposure) {
  PrivateDisplay x(kAgreementWidth, kAgreementHeight);
  ASSERT_TRUE(x.ok());
  const Pixels expected = Render(kAgreementWidth, kAgreementHeight, kSamePixelsPaints);
  Child play(Play(x.name(), {"-root", "-paints", std::to_string(kSamePixelsPaints)}));
  ASSERT_TRUE(play.WaitForOutput("stopped after " + std::to_string(kSamePixelsPaints) + " paints")) << play.output();
  Pixels shown;
  ASSERT_TRUE(ReadWindowPixels(x.name(), 0, &shown));
  EXPECT_EQ(FirstDifference(expected, shown), "");
  EXPECT_EQ(SharedSegmentsOf(play.pid()), 1) << "Xvfb offers MIT-SHM; the player should use it";

  // A window over part of the picture, then gone: what it uncovers is drawn again.
  Display* display = XOpenDisplay(x.name().c_str());
  ASSERT_NE(display, nullptr);
  Window cover = XCreateSimpleWindow(display, DefaultRootWindow(display), 40, 30, 150, 100, 0, 0, 0x00FF00);
  XMapWindow(display, cover);
  XSync(display, False);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  XDestroyWindow(display, cover);
  XSync(display, False);
  XCloseDisplay(display);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  ASSERT_TRUE(ReadWindowPixels(x.name(), 0, &shown));
  EXPECT_EQ(FirstDifference(expected, shown), "") << "after the exposure";

  // XScreenSaver ends its hacks with SIGTERM: a clean end, the shared memory gone with it.
  play.Signal(SIGTERM);
  EXPECT_EQ(play.Wait(), 0) << play.output();
  EXPECT_EQ(SharedSegmentsOf(play.pid()), 0);
}

// The staging image shared with the server holds a few megabytes whatever the screen: a screen
// larger than it, drawn whole at the first picture, goes in bands of rows.
TEST_F(SamePixels, AScreenLargerThanTheStagingImage) {
  const int32_t width = 1600, height = 800;
  PrivateDisplay x(width, height);
  ASSERT_TRUE(x.ok());
  const Pixels expected = Render(width, height, kSamePixelsPaints);
  Child play(Play(x.name(), {"-root", "-paints", std::to_string(kSamePixelsPaints)}));
  ASSERT_TRUE(play.WaitForOutput("stopped after " + std::to_string(kSamePixelsPaints) + " paints")) << play.output();
  Pixels shown;
  ASSERT_TRUE(ReadWindowPixels(x.name(), 0, &shown));
  EXPECT_EQ(FirstDifference(expected, shown), "");
  play.Signal(SIGTERM);
  EXPECT_EQ(play.Wait(), 0) << play.output();
}

// A settings file's wallpaper that takes longer to decode than the first picture may wait comes
// after it, between paints: the screen ends with morvane-render's picture, which waits for it.
TEST_F(SamePixels, AWallpaperThatComesAfterTheFirstPicture) {
  const int32_t width = 320, height = 240;
  const std::string folder = Folder() + "/late-wallpaper";
  ASSERT_EQ(system(("mkdir -p '" + folder + "'").c_str()), 0);
  ASSERT_TRUE(WriteLargeWallpaper(folder + "/wall.png", 8192, 4096, false));
  const std::string scene = folder + "/scene.ini";
  const std::string text = "[BackGround]\nErase=0\nColorR=16\nColorG=24\nColorB=64\nBmpOpt1=1\nBmpOpt2=1\nBmp=wall.png\n";
  WriteFileBytes(scene, std::vector<uint8_t>(text.begin(), text.end()));
  std::string output;
  ASSERT_EQ(RunTool({MORVANE_RENDER, scene, "--size", "320x240", "--seconds", "0", folder + "/render.png"}, &output), 0)
      << output;
  Pixels expected, shown;
  ASSERT_TRUE(ReadPng(folder + "/render.png", &expected));
  PrivateDisplay x(width, height);
  ASSERT_TRUE(x.ok());
  Child play({MORVANE_PLAY, "-display", x.name(), "-no-sound", "-root", scene});
  std::string difference = "nothing read";
  for (int tries = 0; tries < 150 && !difference.empty(); ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    if (ReadWindowPixels(x.name(), 0, &shown)) difference = FirstDifference(expected, shown);
  }
  EXPECT_EQ(difference, "");
  play.Signal(SIGTERM);
  EXPECT_EQ(play.Wait(), 0) << play.output();
}

TEST_F(SamePixels, GivenWindowWithoutSharedMemory) {
  PrivateDisplay x(kAgreementWidth, kAgreementHeight, {"-extension", "MIT-SHM"});
  ASSERT_TRUE(x.ok());
  const int32_t width = 200, height = 150;
  const Pixels expected = Render(width, height, kSamePixelsPaints);
  Display* display = XOpenDisplay(x.name().c_str());
  ASSERT_NE(display, nullptr);
  Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 10, 20, width, height, 0, 0, 0);
  XMapWindow(display, window);
  XSync(display, False);
  Child play(Play(x.name(), {"-window-id", Hex(window), "-paints", std::to_string(kSamePixelsPaints)}));
  ASSERT_TRUE(play.WaitForOutput("stopped after")) << play.output();
  Pixels shown;
  ASSERT_TRUE(ReadWindowPixels(x.name(), window, &shown));
  EXPECT_EQ(FirstDifference(expected, shown), "");
  EXPECT_EQ(SharedSegmentsOf(play.pid()), 0);
  play.Signal(SIGTERM);
  EXPECT_EQ(play.Wait(), 0) << play.output();
  XCloseDisplay(display);
}

TEST_F(SamePixels, TheDaemonsWindowAtEverySize) {
  PrivateDisplay x(kAgreementWidth, kAgreementHeight);
  ASSERT_TRUE(x.ok());
  Display* display = XOpenDisplay(x.name().c_str());
  ASSERT_NE(display, nullptr);
  Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 160, 120, 0, 0, 0);
  XMapWindow(display, window);
  XSync(display, False);
  // As the daemon starts a hack: --root, with its window in the environment.
  std::vector<std::string> argv = Play(x.name(), {"--root"});
  Child play(argv, {"XSCREENSAVER_WINDOW=" + Hex(window)});
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  XResizeWindow(display, window, 300, 220);
  XSync(display, False);
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  // The scene is loaded again at the new size: its background colour reaches the new edges,
  // where nothing would be drawn if the player had kept the old size.
  Pixels shown;
  ASSERT_TRUE(ReadWindowPixels(x.name(), window, &shown));
  ASSERT_EQ(shown.width, 300);
  int black = 0, edge = 0;
  for (int32_t x0 = 0; x0 < 300; ++x0, ++edge) black += shown.at(x0, 219) == 0;
  for (int32_t y0 = 0; y0 < 220; ++y0, ++edge) black += shown.at(299, y0) == 0;
  EXPECT_LT(black, edge / 10) << "the new edges stayed black";
  Pixels root;
  ASSERT_TRUE(ReadWindowPixels(x.name(), 0, &root));
  EXPECT_EQ(root.at(310, 230), 0u) << "drawn outside the window it was given";
  play.Signal(SIGTERM);
  EXPECT_EQ(play.Wait(), 0) << play.output();
  XCloseDisplay(display);
}

}  // namespace
