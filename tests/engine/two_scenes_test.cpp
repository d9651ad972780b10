// Scenes are values: two of them play in one process, each in a headless host of its own, and
// each shows, paint for paint, what it shows when it plays alone, whatever the other one does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "byte_stream.h"
#include "engine.h"
#include "host_soft.h"
#include "package_source.h"
#include "scene_bytes.h"
#include "surface.h"
#include "surface_soft.h"

namespace {

// At least kPreviewHeightLimit high, so that paints present only what changed.
const int32_t kWidth = 200, kHeight = 150;
const int kPaints = 60;

// Masked and opaque characters that wrap and scale: every few paints one of them is placed anew
// with numbers from its scene's generator.
std::vector<uint8_t> WrappingPackage(uint32_t colour, int characters, bool showDesktop, const std::vector<uint8_t>& wave) {
  PackageBytes p;
  p.Memo().Timing(40, 3, 1);
  for (int i = 0; i < characters; ++i) {
    p.Frame(FrameRecordBody(Picture({"......", ".rrgg.", ".r..g.", ".bbbb.", "......"})));
    p.Frame(SolidFrameRecordBody(12 + 3 * i, 9 + i, colour));
    Motion motion;
    motion.speedX = 37 + 11 * i;
    motion.speedY = -23 + 7 * i;
    motion.speedDepth = 17;
    motion.bounceX = motion.bounceY = motion.bounceDepth = 0;
    motion.visibleRate = 7;
    p.Motion(motion);
  }
  p.Background(showDesktop, colour).NoWallpaper().Sound(wave);
  return p.bytes();
}

// A scene with all it plays in: the host and its desktop, the window, and what the window showed.
struct Player {
  std::vector<uint8_t> package;
  uint32_t seed;
  uint32_t desktopColour;
  int paintsPerFrame;
  SoftHost host = {};
  SceneModel scene = {};
  Surface* desktop = nullptr;
  Surface* window = nullptr;
  std::vector<std::vector<uint32_t>> shown = {};
};

void Start(Player* player) {
  OpenSoftHost(&player->host);
  player->desktop = CreateSurface(nullptr, kWidth, kHeight);
  FillSurface(player->desktop, 0, 0, kWidth, kHeight, player->desktopColour);
  player->host.display = player->desktop;
  MemoryStream stream;
  OpenMemoryStream(&stream, player->package.data(), static_cast<uint32_t>(player->package.size()));
  PackageSource source;
  OpenPackageSource(&source, &stream.base);
  LoadScene(&player->scene, &player->host.base, &source.base,
            SceneGeometry{kWidth, kHeight, 0, 0, kWidth, kHeight, 0, 0, 0, {}}, player->seed);
  player->window = CreateSurface(nullptr, kWidth, kHeight);
  player->shown.clear();
}

// One paint as the timers would bring it, with a frame tick every paintsPerFrame paints.
void Paint(Player* player) {
  if (player->shown.size() % player->paintsPerFrame == 0) AdvanceFrames(&player->scene);
  PaintScene(&player->scene, player->window);
  const uint32_t* pixels = SoftSurfacePixels(player->window);
  player->shown.emplace_back(pixels, pixels + kWidth * kHeight);
}

void Stop(Player* player) {
  ReleaseScene(&player->scene);
  ReleaseSurface(player->window);
  ReleaseSurface(player->desktop);
}

// What the player's scene shows over kPaints paints when nothing else plays.
std::vector<std::vector<uint32_t>> PlayedAlone(Player* player) {
  Start(player);
  for (int paint = 0; paint < kPaints; ++paint) Paint(player);
  Stop(player);
  return player->shown;
}

TEST(TwoScenes, EachPlaysAsItPlaysAloneAndEndsWithoutTouchingTheOther) {
  Player first = {WrappingPackage(0x00336699, 3, false, {'R', 'I', 'F', 'F', 7}), 11, 0x00102030, 3};
  Player second = {WrappingPackage(0x00996633, 4, true, {}), 12345, 0x00405060, 2};
  const std::vector<std::vector<uint32_t>> firstAlone = PlayedAlone(&first);
  const std::vector<std::vector<uint32_t>> secondAlone = PlayedAlone(&second);
  ASSERT_NE(firstAlone.front(), firstAlone.back()) << "the first scene moves";
  ASSERT_NE(firstAlone, secondAlone) << "two different scenes";

  Start(&first);
  Start(&second);
  EXPECT_EQ(first.host.soundStarts, 1);
  EXPECT_EQ(second.host.soundStarts, 0);
  // Both paint in turn for half the time; then the first ends and the second plays on.
  for (int paint = 0; paint < kPaints / 2; ++paint) {
    Paint(&first);
    Paint(&second);
  }
  EXPECT_EQ(first.shown, std::vector<std::vector<uint32_t>>(firstAlone.begin(), firstAlone.begin() + kPaints / 2));
  Stop(&first);
  EXPECT_FALSE(first.host.timersRunning);
  EXPECT_EQ(first.host.soundStops, 1);
  EXPECT_TRUE(second.host.timersRunning) << "ending one scene stopped the other's timers";
  EXPECT_EQ(second.host.soundStops, 0);
  for (int paint = kPaints / 2; paint < kPaints; ++paint) Paint(&second);
  EXPECT_EQ(second.shown, secondAlone);
  // The second scene shows its own desktop where it paints no background.
  const std::vector<uint32_t>& picture = second.shown.front();
  EXPECT_GT(std::count(picture.begin(), picture.end(), 0x00405060u), kWidth * kHeight / 2);
  Stop(&second);
  EXPECT_EQ(SoftLiveSurfaces(), 0);
}

}  // namespace
