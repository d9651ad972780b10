// morvane-play on the root window of a screen of two monitors side by side, as Xinerama reports
// them and as RandR does: the background is laid out on each monitor as on a screen of its own,
// as the Windows player does.
#include <gtest/gtest.h>
#include <signal.h>

#include <string>

#include "linux_test_support.h"
#include "scene_art.h"

namespace {

const int32_t kHeadWidth = 400, kHeadHeight = 300;
const uint32_t kColour = 0x503010, kLeftHalf = 0x00FFFF, kRightHalf = 0xFF0000;

// A wallpaper of two halves, so that a stretch per monitor shows where each copy starts.
bool WriteScene(const ScratchFolder& dir, bool stretched) {
  Picture32 wallpaper(100, 60, kLeftHalf);
  wallpaper.Fill(50, 0, 100, 60, kRightHalf);
  SettingsText s;
  s.Set("Initial", "Timer1", 40).Set("Initial", "Crear", 1);
  s.Set("BackGround", "ColorR", 0x10).Set("BackGround", "ColorG", 0x30).Set("BackGround", "ColorB", 0x50);
  s.Set("BackGround", "BmpOpt1", 1).Set("BackGround", "BmpOpt2", stretched ? 1 : 0);
  s.Set("BackGround", "Bmp", "wall paper.bmp");
  return WriteBmp24(dir.Path("wall paper.bmp"), wallpaper) && s.Write(dir.Path("MORVANE.INI"));
}

void CheckLayout(const std::string& display) {
  struct Case {
    bool stretched;
    // Expected colours at points along the middle row.
    std::vector<std::pair<int32_t, uint32_t>> row;
  } cases[] = {
      // Centred: 100 pixels wide in the middle of each 400-pixel monitor, the colour around it.
      {false, {{149, kColour}, {150, kLeftHalf}, {199, kLeftHalf}, {200, kRightHalf}, {249, kRightHalf},
               {250, kColour}, {399, kColour}, {400, kColour}, {549, kColour}, {550, kLeftHalf},
               {650, kColour}, {799, kColour}}},
      // Stretched over each monitor: each starts with its left half at its own left edge.
      {true, {{0, kLeftHalf}, {199, kLeftHalf}, {200, kRightHalf}, {399, kRightHalf}, {400, kLeftHalf},
              {599, kLeftHalf}, {600, kRightHalf}, {799, kRightHalf}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stretched ? "stretched" : "centred");
    ScratchFolder dir;
    ASSERT_TRUE(WriteScene(dir, c.stretched));
    Child play({MORVANE_PLAY, "-display", display, "-root", "-no-sound", "-paints", "2", dir.Path("MORVANE.INI")});
    ASSERT_TRUE(play.WaitForOutput("stopped after 2 paints")) << play.output();
    Pixels shown;
    ASSERT_TRUE(ReadWindowPixels(display, 0, &shown));
    ASSERT_EQ(shown.width, 2 * kHeadWidth);
    ASSERT_EQ(shown.height, kHeadHeight);
    for (const auto& point : c.row) {
      EXPECT_EQ(shown.at(point.first, kHeadHeight / 2), point.second) << "x " << point.first;
    }
    // The wallpaper's rows: whole monitor height when stretched, 60 in the middle when centred.
    const int32_t top = c.stretched ? 0 : (kHeadHeight - 60) / 2;
    for (int32_t x0 : {kHeadWidth / 2, kHeadWidth + kHeadWidth / 2}) {
      EXPECT_NE(shown.at(x0, top), kColour) << x0;
      if (top > 0) {
        EXPECT_EQ(shown.at(x0, top - 1), kColour) << x0;
      }
    }
    play.Signal(SIGTERM);
    EXPECT_EQ(play.Wait(5000), 0) << play.output();
  }
}

TEST(MonitorLayout, EachXineramaMonitorGetsTheWallpaperAsASingleScreen) {
  TwoHeadDisplay x(kHeadWidth, kHeadHeight);
  ASSERT_TRUE(x.ok()) << "Xephyr with Xinerama in an Xvfb";
  CheckLayout(x.name());
}

// One wide output divided into monitors as xrandr --setmonitor does; the server answers Xinerama
// from them too.
TEST(MonitorLayout, EachRandrMonitorGetsTheWallpaperAsASingleScreen) {
  PrivateDisplay x(2 * kHeadWidth, kHeadHeight);
  ASSERT_TRUE(x.ok());
  ASSERT_TRUE(SplitIntoRandrMonitors(x.name(), 2));
  CheckLayout(x.name());
}

}  // namespace
