// morvane-play as a user runs it: full screen until input, and the answers to files and
// displays it cannot play.
#include <gtest/gtest.h>
#include <signal.h>
#include <X11/Xlib.h>

#include <string>
#include <thread>

#include "agreement_scene.h"
#include "linux_test_support.h"

namespace {

class PlayProgram : public ::testing::Test {
 protected:
  void SetUp() override { WriteFileBytes(scene, SamePixelsSaver()); }
  ScratchFolder dir;
  std::string scene = dir.Path("scene.scr");
};

// The pointer moved as a user moves it: the server sends the motion to the window under it.
void MovePointer(const std::string& name, int x, int y) {
  Display* display = XOpenDisplay(name.c_str());
  ASSERT_NE(display, nullptr);
  XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, x, y);
  XSync(display, False);
  XCloseDisplay(display);
}

TEST_F(PlayProgram, FullScreenEndsOnMouseTravelBeyondFourPixelsOrAKey) {
  PrivateDisplay x(kAgreementWidth, kAgreementHeight);
  ASSERT_TRUE(x.ok());
  std::string output;
  MovePointer(x.name(), 100, 100);
  {
    Child play({MORVANE_PLAY, "-display", x.name(), "-fullscreen", "-no-sound", scene});
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    MovePointer(x.name(), 102, 102);  // 4 pixels of travel: still playing
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    Pixels shown;
    ASSERT_TRUE(ReadWindowPixels(x.name(), 0, &shown));
    int background = 0;
    for (int32_t x0 = 0; x0 < kAgreementWidth; ++x0) background += shown.at(x0, kAgreementHeight - 1) == 0x503010u;
    EXPECT_GT(background, kAgreementWidth / 2) << "the scene's background covers the screen";
    MovePointer(x.name(), 103, 102);  // 5
    EXPECT_EQ(play.Wait(5000), 0) << play.output();
  }
  {
    Child play({MORVANE_PLAY, "-display", x.name(), "-fullscreen", "-no-sound", scene});
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_EQ(RunTool({"env", "DISPLAY=" + x.name(), "xdotool", "key", "space"}, &output), 0) << output;
    EXPECT_EQ(play.Wait(5000), 0) << play.output();
  }
}

TEST_F(PlayProgram, FilesAndDisplaysItCannotPlay) {
  WriteFileBytes(dir.Path("notes.txt"), {'h', 'e', 'l', 'l', 'o', '\n'});
  struct Case {
    std::vector<std::string> argv;
    int status;
    const char* says;
  } cases[] = {
      {{MORVANE_PLAY, "-display", ":0", dir.Path("notes.txt")}, 1, "neither a packaged saver"},
      {{MORVANE_PLAY, "-display", ":0", dir.Path("missing.scr")}, 1, "No such file"},
      {{MORVANE_PLAY, "-display", "nowhere:99", scene}, 1, "cannot open display"},
      {{MORVANE_PLAY, "-bogus", scene}, 2, "unknown option -bogus"},
  };
  for (const Case& c : cases) {
    std::string output;
    EXPECT_EQ(RunTool(c.argv, &output), c.status) << c.argv.back() << ": " << output;
    EXPECT_NE(output.find(c.says), std::string::npos) << output;
    if (c.status == 1) {
      EXPECT_EQ(output.find('\n'), output.size() - 1) << "one line: " << output;
    }
  }
}

}  // namespace
