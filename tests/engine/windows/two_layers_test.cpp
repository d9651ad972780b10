// Both surface layers in one program: the engine draws with GDI here, while the pixel buffers
// answer through their own table, and the same steps give both layers the same pixels.
#include <gtest/gtest.h>

#include <vector>

#include "surface.h"
#include "surface_gdi.h"
#include "surface_soft.h"

namespace {

const uint32_t kRed = 0x000000FF, kBlue = 0x00FF0000, kTeal = 0x00999933;

struct Step {
  const char* what;
  void (*draw)(const SurfaceLayer& layer, Surface* dest, const Surface* sprite, const Surface* mask);
};

const Step kSteps[] = {
    {"fill", [](const SurfaceLayer& l, Surface* d, const Surface*, const Surface*) { l.fill(d, 1, 1, 5, 3, kTeal); }},
    {"copy", [](const SurfaceLayer& l, Surface* d, const Surface* s, const Surface*) {
       l.transfer(d, -1, 1, 3, 3, s, 0, 0, RopSrcCopy);
     }},
    {"and", [](const SurfaceLayer& l, Surface* d, const Surface* s, const Surface*) {
       l.transfer(d, 2, 0, 3, 3, s, 0, 0, RopSrcAnd);
     }},
    {"xor", [](const SurfaceLayer& l, Surface* d, const Surface* s, const Surface*) {
       l.transfer(d, 4, 2, 3, 3, s, 1, 0, RopSrcInvert);
     }},
    {"stretch", [](const SurfaceLayer& l, Surface* d, const Surface* s, const Surface*) {
       l.stretch(d, 0, 0, 6, 3, s, 0, 0, 3, 3, RopSrcCopy);
     }},
    {"masked", [](const SurfaceLayer& l, Surface* d, const Surface* s, const Surface* m) {
       l.maskedTransfer(d, 2, 1, 3, 3, m, s);
     }},
    {"flood", [](const SurfaceLayer& l, Surface* d, const Surface* s, const Surface*) {
       l.transfer(d, 0, 0, 3, 3, s, 0, 0, RopSrcCopy);
       l.floodFill(d, 5, 3, kWhite, kTeal);
     }},
};

// A white 6 x 4 picture after the step, with a 3 x 3 sprite of red, blue and black columns whose
// mask is black under its coloured part.
std::vector<uint32_t> Drawn(const SurfaceLayer& layer, const Step& step) {
  Surface* dest = layer.create(nullptr, 6, 4);
  Surface* sprite = layer.create(nullptr, 3, 3);
  Surface* mask = layer.create(nullptr, 3, 3);
  layer.fill(dest, 0, 0, 6, 4, kWhite);
  layer.fill(sprite, 0, 0, 1, 3, kRed);
  layer.fill(sprite, 1, 0, 2, 3, kBlue);
  layer.fill(sprite, 2, 0, 3, 3, kBlack);
  layer.fill(mask, 0, 0, 3, 3, kWhite);
  layer.fill(mask, 0, 0, 2, 3, kBlack);
  step.draw(layer, dest, sprite, mask);
  std::vector<uint32_t> pixels;
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 6; ++x) pixels.push_back(layer.readPixel(dest, x, y));
  layer.release(dest);
  layer.release(sprite);
  layer.release(mask);
  return pixels;
}

TEST(SurfaceLayers, BothLiveInOneProgramAndDrawTheSame) {
  for (const Step& step : kSteps) {
    const std::vector<uint32_t> gdi = Drawn(kProgramSurfaceLayer, step);
    EXPECT_EQ(gdi, Drawn(kSoftSurfaceLayer, step)) << step.what;
    EXPECT_NE(gdi, std::vector<uint32_t>(24, kWhite)) << step.what << " drew nothing";
  }
  EXPECT_EQ(SoftLiveSurfaces(), 0);
}

}  // namespace
