#include <gtest/gtest.h>

#include <cstring>

#include "engine.h"
#include "host_soft.h"
#include "scene_bytes.h"
#include "surface.h"
#include "surface_soft.h"

namespace {

const uint32_t kGrey = 0x808080;
const uint32_t kRed = 0x0000FF;

// A w x h scene on a grey background with one character of one w0 x h0 red frame.
class Composition : public testing::Test {
 protected:
  void SetUp() override { Build(200, 150, 40, 20); }
  void TearDown() override {
    ReleaseScene(&scene);
    EXPECT_EQ(SoftLiveSurfaces(), 0);
  }

  void Build(int32_t w, int32_t h, int32_t w0, int32_t h0) {
    ReleaseScene(&scene);
    scene.screenWidth = scene.windowWidth = w;
    scene.screenHeight = scene.windowHeight = h;
    scene.backgroundBuffer = CreateSurface(nullptr, w, h);
    scene.workBuffer = CreateSurface(nullptr, w, h);
    FillSurface(scene.backgroundBuffer, 0, 0, w, h, kGrey);
    scene.characterCount = 1;
    c = &scene.characters[0];
    c->frameCount = 1;
    c->visibleRate = 10;
    c->depth = 100;
    c->x = 50;
    c->y = 40;
    FrameSurface* f = &c->frames[0];
    f->sprite = CreateSurface(nullptr, w0, h0);
    FillSurface(f->sprite, 0, 0, w0, h0, kRed);
    f->width = f->scaledWidth = w0;
    f->height = f->scaledHeight = h0;
  }

  // The bounding box of red pixels in the work buffer: left, top, right, bottom (exclusive).
  std::vector<int32_t> RedBox() {
    int32_t left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1;
    for (int32_t y = 0; y < scene.screenHeight; ++y)
      for (int32_t x = 0; x < scene.screenWidth; ++x)
        if (ReadSurfacePixel(scene.workBuffer, x, y) == kRed) {
          left = std::min(left, x);
          top = std::min(top, y);
          right = std::max(right, x + 1);
          bottom = std::max(bottom, y + 1);
        }
    if (right < 0) return {};
    return {left, top, right, bottom};
  }

  SceneModel scene = {};
  CharacterState* c = nullptr;
};

TEST_F(Composition, DepthHundredIsNaturalSizeAndNeighboursScale) {
  ComposePicture(&scene);
  EXPECT_EQ(RedBox(), (std::vector<int32_t>{50, 40, 90, 60}));
  c->depth = 99;  // 39 x 19: (40 - 39) / 2 truncates to 0
  ComposePicture(&scene);
  EXPECT_EQ(RedBox(), (std::vector<int32_t>{50, 40, 89, 59}));
  EXPECT_EQ(c->frames[0].scaledWidth, 39);
  c->depth = 101;  // 40 x 20 again, but through the stretching path
  ComposePicture(&scene);
  EXPECT_EQ(RedBox(), (std::vector<int32_t>{50, 40, 90, 60}));
  EXPECT_EQ(c->frames[0].scaledWidth, 40);
}

TEST_F(Composition, ScaledFramesAreCentredOnTheirNaturalBox) {
  c->depth = 250;  // 100 x 50 at x - 30, y - 15
  ComposePicture(&scene);
  EXPECT_EQ(RedBox(), (std::vector<int32_t>{20, 25, 120, 75}));
  c->depth = 103;  // 41 x 20: (40 - 41) / 2 truncates to 0, so the left edge stays at x
  ComposePicture(&scene);
  EXPECT_EQ(RedBox(), (std::vector<int32_t>{50, 40, 91, 60}));
  c->depth = 0;
  ComposePicture(&scene);
  EXPECT_EQ(RedBox(), std::vector<int32_t>{});
}

TEST_F(Composition, AppearanceRollAgainstRateHasNineOutcomes) {
  const int8_t rates[] = {0, 1, 5, 8, 9, 10, 127, -128, -1};
  for (int8_t rate : rates) {
    int drawn = 0;
    for (int8_t roll = 0; roll <= 8; ++roll) {
      c->visibleRate = rate;
      c->appearanceRoll = roll;
      ComposePicture(&scene);
      drawn += !RedBox().empty();
    }
    int expected = rate < 0 ? 0 : (rate > 9 ? 9 : rate);
    EXPECT_EQ(drawn, expected) << "rate " << int(rate);
  }
}

TEST_F(Composition, CharactersClipAtTheBufferEdges) {
  c->x = -10;
  c->y = 140;
  ComposePicture(&scene);
  EXPECT_EQ(RedBox(), (std::vector<int32_t>{0, 140, 30, 150}));
  c->x = 190;
  c->y = -15;
  c->depth = 150;  // 60 x 30 at (180, -20)
  ComposePicture(&scene);
  EXPECT_EQ(RedBox(), (std::vector<int32_t>{180, 0, 200, 10}));
}

TEST_F(Composition, LaterCharactersCoverEarlierOnesAndMasksKeepTheBackground) {
  // Character 1: a masked 3 x 3 frame with a white corner area and a green centre.
  scene.characterCount = 2;
  CharacterState* d = &scene.characters[1];
  d->frameCount = 1;
  d->visibleRate = 10;
  d->depth = 100;
  d->x = 49;
  d->y = 39;
  FrameSurface* f = &d->frames[0];
  f->sprite = MakeSurface(Picture({"...", ".g.", "..."}));
  f->width = f->height = 3;
  PrepareFrameMask(f, nullptr);
  ComposePicture(&scene);
  EXPECT_EQ(ReadSurfacePixel(scene.workBuffer, 49, 39), kGrey);   // transparent over grey
  EXPECT_EQ(ReadSurfacePixel(scene.workBuffer, 51, 41), kRed);    // transparent over red
  EXPECT_EQ(ReadSurfacePixel(scene.workBuffer, 50, 40), 0x00FF00u);  // covers character 0
  d->depth = 200;  // scaled masks keep the same effect
  ComposePicture(&scene);
  EXPECT_EQ(ReadSurfacePixel(scene.workBuffer, 48, 38), kGrey);
  EXPECT_EQ(ReadSurfacePixel(scene.workBuffer, 50, 40), 0x00FF00u);
  EXPECT_EQ(ReadSurfacePixel(scene.workBuffer, 52, 42), kRed);
}

TEST_F(Composition, FramesWithoutAPictureDrawNothing) {
  ReleaseSurface(c->frames[0].sprite);
  c->frames[0] = FrameSurface{};
  ComposePicture(&scene);
  EXPECT_EQ(RedBox(), std::vector<int32_t>{});
  c->frameCount = 0;
  ComposePicture(&scene);
  EXPECT_EQ(RedBox(), std::vector<int32_t>{});
}

TEST_F(Composition, WindowsFromHeight128PresentOneToOne) {
  Build(640, 480, 40, 20);
  scene.windowWidth = 300;
  scene.windowHeight = 128;
  Surface* window = CreateSurface(nullptr, 300, 128);
  ComposePicture(&scene);
  PresentPicture(&scene, window);
  EXPECT_EQ(ReadSurfacePixel(window, 50, 40), kRed);
  EXPECT_EQ(ReadSurfacePixel(window, 89, 59), kRed);
  EXPECT_EQ(ReadSurfacePixel(window, 90, 40), kGrey);
  ReleaseSurface(window);
}

TEST_F(Composition, LowerWindowsShowTheWholeScreenShrunkWithoutBlending) {
  Build(640, 480, 64, 48);
  scene.windowWidth = 160;
  scene.windowHeight = 127;
  c->x = 320;
  c->y = 240;
  // Thin white stripes across the sprite: AND-combining dropped rows would blacken them.
  for (int32_t y = 0; y < 48; y += 4) FillSurface(c->frames[0].sprite, 0, y, 64, y + 1, kWhite);
  Surface* window = CreateSurface(nullptr, 160, 127);
  ComposePicture(&scene);
  PresentPicture(&scene, window);
  int red = 0;
  for (int32_t y = 0; y < 127; ++y)
    for (int32_t x = 0; x < 160; ++x) {
      uint32_t colour = ReadSurfacePixel(window, x, y);
      ASSERT_TRUE(colour == kGrey || colour == kRed || colour == kWhite) << std::hex << colour;
      red += colour == kRed;
    }
  // The 64 x 48 sprite shrinks by 4 across and about 3.8 down: about 16 x 12 pixels.
  EXPECT_GT(red, 100);
  EXPECT_EQ(ReadSurfacePixel(window, 85, 68), kRed);
  ReleaseSurface(window);
}

}  // namespace

namespace {

TEST(CompositionOverTime, RestoringDrawnAreasEqualsAFullCopyEveryPaint) {
  // Moving, wrapping, scaling characters (masked and blended) on a patterned background, and on
  // a plain one that is restored by fills: after every paint the work buffer must equal a picture composed from
  // a full copy of the background.
  SoftHost host;
  OpenSoftHost(&host);
  SceneModel scene = {};
  for (const bool plain : {false, true}) {
  SCOPED_TRACE(plain ? "plain background" : "patterned background");
  ReleaseScene(&scene);
  scene.host = &host.base;
  // At least kPreviewHeightLimit high, so that paints present only what changed.
  const int32_t w = 160, h = 128;
  scene.screenWidth = scene.windowWidth = w;
  scene.screenHeight = scene.windowHeight = h;
  scene.backgroundBuffer = CreateSurface(nullptr, w, h);
  scene.workBuffer = CreateSurface(nullptr, w, h);
  for (int32_t y = 0; y < h; ++y) FillSurface(scene.backgroundBuffer, 0, y, w, y + 1, plain ? 0x123456u : y * 0x010203u);
  scene.backgroundPlain = plain;
  scene.backgroundColour = 0x123456u;
  scene.characterCount = 4;
  for (int i = 0; i < 4; ++i) {
    CharacterState* c = &scene.characters[i];
    c->frameCount = 1;
    c->visibleRate = 7;
    if (i < 2) {
      c->frames[0].sprite = MakeSurface(Picture({"....", ".rg.", ".bb.", "...."}));
      PrepareFrameMask(&c->frames[0], nullptr);
    } else {
      // A blended frame: a clear margin, an opaque middle and soft pixels between, all of which
      // must be restored from under it at the next paint.
      std::vector<uint8_t> own;
      for (int32_t k = 0; k < 16; ++k) {
        const int32_t x = k % 4, y = k / 4;
        const bool margin = x == 0 || y == 3, middle = x == 2 && y == 1;
        own.insert(own.end(), {uint8_t(40 * k), 200, uint8_t(255 - 9 * k), uint8_t(margin ? 0 : middle ? 255 : 60 + 30 * k)});
      }
      c->frames[0].sprite = LoadOwnPixelsSurface(nullptr, 4, 4, own.data());
    }
    c->frames[0].width = c->frames[0].height = 4;
    c->x = 20 * i;
    c->y = 10 * i;
    c->depth = 100;
    c->speedX = 7 + i;
    c->speedY = 5 - 3 * i;
    c->speedDepth = i % 2 ? 23 * i : 0;
    c->minX = -4;
    c->maxX = w;
    c->minY = -4;
    c->maxY = h;
    c->maxDepth = 250;
  }
  Surface* window = CreateSurface(nullptr, w, h);
  // Read-only looks at the pixels: a writable one would tell the layer that they may now hold
  // anything, and it would then restore every character's whole box.
  const Surface* const windowPixels = window;
  const Surface* const workPixels = scene.workBuffer;
  std::vector<uint32_t> restored(static_cast<size_t>(w) * h);
  for (int paint = 0; paint < 200; ++paint) {
    PaintScene(&scene, window);
    // Presenting only the changed areas keeps the window equal to the whole picture.
    ASSERT_EQ(memcmp(SoftSurfacePixels(windowPixels), SoftSurfacePixels(workPixels), restored.size() * 4), 0)
        << "window after paint " << paint;
    memcpy(restored.data(), SoftSurfacePixels(workPixels), restored.size() * 4);
    scene.workComposed = 0;
    ComposePicture(&scene);
    ASSERT_EQ(memcmp(restored.data(), SoftSurfacePixels(workPixels), restored.size() * 4), 0)
        << "paint " << paint;
  }
  ReleaseSurface(window);
  ReleaseScene(&scene);
  EXPECT_EQ(SoftLiveSurfaces(), 0);
  }
}

}  // namespace

namespace {

TEST(ChangedAreas, OverlappingBoxesJoinOthersStayApartAndEveryPixelStaysCovered) {
  SceneArea areas[8] = {
      {10, 10, 96, 96},    // a character's previous box
      {15, 12, 96, 96},    // and its current one: one transfer
      {900, 10, 96, 96},   // far away: a transfer of its own
      {50, 500, 0, 40},    // empty: dropped
      {-20, 700, 30, 30},  // partly outside the window, far from the rest: kept as it is
      {400, 300, 96, 96},  // side by side, a gap apart: a joint box would add pixels neither
      {500, 300, 96, 96},  // covers, so they stay apart
  };
  SceneArea before[8];
  memcpy(before, areas, sizeof areas);
  int count = MergeChangedAreas(areas, 7);
  EXPECT_EQ(count, 5);
  for (int i = 0; i < 7; ++i) {
    if (before[i].width <= 0 || before[i].height <= 0) continue;
    bool covered = false;
    for (int j = 0; j < count; ++j) {
      const SceneArea& a = areas[j];
      covered |= a.left <= before[i].left && a.top <= before[i].top &&
                 a.left + a.width >= before[i].left + before[i].width &&
                 a.top + a.height >= before[i].top + before[i].height;
    }
    EXPECT_TRUE(covered) << "area " << i;
  }
  int64_t pixels = 0;
  for (int j = 0; j < count; ++j) pixels += int64_t(areas[j].width) * areas[j].height;
  EXPECT_LT(pixels, 5 * 96 * 96 + 30 * 30) << "far areas are never joined into one large box";
}

}  // namespace
