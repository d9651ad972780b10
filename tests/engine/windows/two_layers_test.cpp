// Both surface layers in one program: the engine draws with GDI here, while the pixel buffers
// answer through their own table, and the same steps give both layers the same pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
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

// A frame with its own alpha, 8 x 6, every alpha from 0 to 255 among its pixels, over a picture
// of many colours, blended at its natural size, enlarged, shrunk and cut at the edges.
std::vector<uint32_t> Blended(const SurfaceLayer& layer, int32_t dx, int32_t dy, int32_t dw, int32_t dh) {
  const int32_t w = 8, h = 6, destW = 20, destH = 14;
  std::vector<uint8_t> own;
  for (int32_t i = 0; i < w * h; ++i) {
    const uint8_t alpha = i == 0 ? 0 : i == 1 ? 255 : static_cast<uint8_t>(i * 37 + 11);
    own.insert(own.end(), {static_cast<uint8_t>(i * 53), static_cast<uint8_t>(255 - i * 5), static_cast<uint8_t>(i * 97),
                           alpha});
  }
  Surface* dest = layer.create(nullptr, destW, destH);
  for (int32_t y = 0; y < destH; ++y)
    for (int32_t x = 0; x < destW; ++x)
      layer.fill(dest, x, y, x + 1, y + 1, static_cast<uint32_t>((x * 13) | (y * 19) << 8 | ((x + y) * 7) << 16));
  Surface* frame = layer.loadOwnPixels(nullptr, w, h, own.data());
  EXPECT_TRUE(frame && frame->ownAlpha);
  layer.blend(dest, dx, dy, dw, dh, frame);
  std::vector<uint32_t> pixels;
  for (int32_t y = 0; y < destH; ++y)
    for (int32_t x = 0; x < destW; ++x) pixels.push_back(layer.readPixel(dest, x, y));
  layer.release(frame);
  layer.release(dest);
  return pixels;
}

TEST(SurfaceLayers, BlendedFramesAgreeWithinOneStepPerChannel) {
  const struct {
    const char* what;
    int32_t dx, dy, dw, dh;
  } cases[] = {{"natural size", 3, 2, 8, 6},    {"enlarged", 1, 1, 17, 11}, {"shrunk", 5, 4, 5, 3},
               {"cut at the top left", -3, -2, 8, 6}, {"enlarged past the bottom right", 9, 7, 16, 12}};
  for (const auto& c : cases) {
    const std::vector<uint32_t> gdi = Blended(kProgramSurfaceLayer, c.dx, c.dy, c.dw, c.dh);
    const std::vector<uint32_t> soft = Blended(kSoftSurfaceLayer, c.dx, c.dy, c.dw, c.dh);
    ASSERT_EQ(gdi.size(), soft.size());
    int worst = 0, changed = 0;
    for (size_t i = 0; i < gdi.size(); ++i) {
      for (int shift = 0; shift < 24; shift += 8) {
        const int step = static_cast<int>(gdi[i] >> shift & 0xFF) - static_cast<int>(soft[i] >> shift & 0xFF);
        worst = std::max(worst, std::abs(step));
      }
    }
    const std::vector<uint32_t> untouched = Blended(kSoftSurfaceLayer, 0, 0, 0, 0);
    for (size_t i = 0; i < soft.size(); ++i) changed += soft[i] != untouched[i];
    EXPECT_LE(worst, 1) << c.what;
    EXPECT_GT(changed, 10) << c.what << " blended nothing";
  }
  EXPECT_EQ(SoftLiveSurfaces(), 0);
}

}  // namespace
