// The players' benchmark scenes, played by the engine with everything it does to paint cheaply
// (restoring and presenting only what changed, masked transfers and stretches in one pass), give
// paint after paint the picture of the plain definition: the whole background, then every shown
// character by two transfers or two stretches.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "build_test_support.h"
#include "engine.h"
#include "host_soft.h"
#include "scene_art.h"
#include "scene_file.h"
#include "surface.h"
#include "surface_soft.h"

namespace {

// The picture as a paint defines it, drawn from the scene's state after its motion step.
void PaintByDefinition(const SceneModel& scene, Surface* picture) {
  TransferSurface(picture, 0, 0, scene.screenWidth, scene.screenHeight, scene.backgroundBuffer, 0, 0, RopSrcCopy);
  for (int i = 0; i < scene.characterCount; ++i) {
    const CharacterState& c = scene.characters[i];
    if (c.appearanceRoll >= c.visibleRate || c.currentFrame >= c.frameCount) continue;
    const FrameSurface& f = c.frames[c.currentFrame];
    if (!f.sprite) continue;
    if (c.depth == 100) {
      if (f.hasMask) TransferSurface(picture, c.x, c.y, f.width, f.height, f.mask, 0, 0, RopSrcAnd);
      TransferSurface(picture, c.x, c.y, f.width, f.height, f.sprite, 0, 0, f.hasMask ? RopSrcPaint : RopSrcCopy);
      continue;
    }
    const int32_t w = c.depth * f.width / 100, h = c.depth * f.height / 100;
    const int32_t left = c.x + (f.width - w) / 2, top = c.y + (f.height - h) / 2;
    if (f.hasMask) StretchSurface(picture, left, top, w, h, f.mask, 0, 0, f.width, f.height, RopSrcAnd);
    StretchSurface(picture, left, top, w, h, f.sprite, 0, 0, f.width, f.height, f.hasMask ? RopSrcPaint : RopSrcCopy);
  }
}

// The scenes bench-saver measures, one a line.
const struct {
  const char* name;
  bool (*write)(const std::string& folder);
} kScenes[] = {
    {"benchmark", WriteBenchmarkScene},
    {"heavy", WriteHeavyScene},
};

TEST(BenchmarkScenes, EveryPaintIsThePictureOfTheDefinition) {
  for (const auto& entry : kScenes) {
    SCOPED_TRACE(entry.name);
    ScratchFolder folder;
    ASSERT_TRUE(entry.write(folder.path()));
    SceneFile file;
    std::string problem;
    ASSERT_TRUE(ReadSceneFile(folder.Path("MORVANE.INI").c_str(), &file, &problem)) << problem;
    SoftHost host;
    OpenSoftHost(&host);
    SceneModel scene = {};
    const int32_t w = 800, h = 600;
    LoadScene(&scene, &host.base, OpenSceneFileSource(&file), SceneGeometry{w, h, 0, 0, w, h, 0, 0, 0, {}}, 99);
    ASSERT_EQ(scene.characterCount, 20);
    Surface* window = CreateSurface(nullptr, w, h);
    Surface* expected = CreateSurface(nullptr, w, h);
    const Surface* const windowPixels = window;
    const Surface* const expectedPixels = expected;
    const size_t bytes = static_cast<size_t>(w) * h * 4;
    int scaled = 0;
    for (int paint = 0; paint < 300; ++paint) {
      PaintScene(&scene, window);
      for (int i = 0; i < scene.characterCount; ++i) scaled += scene.characters[i].depth != 100;
      PaintByDefinition(scene, expected);
      ASSERT_EQ(memcmp(SoftSurfacePixels(windowPixels), SoftSurfacePixels(expectedPixels), bytes), 0)
          << "paint " << paint;
      if (paint % 4 == 3) AdvanceFrames(&scene);
    }
    // The heavy scene's characters are drawn scaled, the benchmark's at their natural size.
    EXPECT_EQ(scaled > 0, std::string(entry.name) == "heavy");
    ReleaseSurface(window);
    ReleaseSurface(expected);
    ReleaseScene(&scene);
  }
}

}  // namespace
