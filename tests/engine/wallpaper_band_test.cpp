// The wallpaper rows a source is told the monitors show are exactly those from which
// DrawWallpaperBand draws anything: stretched or centred, on one monitor or two, however the
// heights divide.
#include <gtest/gtest.h>

#include <vector>

#include "engine.h"
#include "surface.h"
#include "surface_soft.h"
#include "wallpaper_band.h"

TEST(WallpaperRows, ARowIsShownExactlyWhenDrawingItAloneChangesTheBuffer) {
  const struct { bool stretch; int32_t height; std::vector<SceneArea> monitors; } cases[] = {
      {true, 1500, {{0, 0, 2, 375}}}, {true, 1501, {{0, 0, 2, 768}}}, {true, 51, {{0, 0, 2, 77}}},
      {true, 1000, {{0, 0, 2, 300}, {2, 17, 3, 211}}}, {false, 1500, {{0, 0, 2, 300}}},
      {false, 101, {{0, 0, 2, 40}, {2, 10, 3, 300}}}, {true, 7, {{0, 0, 2, 0}}}};
  for (const auto& c : cases) {
    const int32_t width = 3;
    const WallpaperPlacement placement = {c.monitors.data(), int32_t(c.monitors.size()), width, c.height, c.stretch};
    Surface* buffer = CreateSurface(nullptr, 5, 768);
    Surface* band = CreateSurface(nullptr, width, 1);
    FillSurface(band, 0, 0, width, 1, kWhite);
    int32_t wrong = 0, shown = 0;
    for (int32_t row = 0; row < c.height; ++row) {
      FillSurface(buffer, 0, 0, 5, 768, kBlack);
      for (const SceneArea& m : c.monitors) DrawWallpaperBand(buffer, m, width, c.height, c.stretch, band, row);
      bool drawn = false;
      for (int32_t i = 0; i < 5 * 768; ++i) drawn = drawn || SoftSurfacePixels(buffer)[i] != kBlack;
      wrong += drawn != WallpaperRowShown(placement, row);
      shown += drawn;
    }
    EXPECT_EQ(wrong, 0) << c.height << (c.stretch ? " stretched" : " centred");
    EXPECT_EQ(shown > 0, c.monitors[0].height > 0) << c.height << ": rows drawn at all";
    ReleaseSurface(band);
    ReleaseSurface(buffer);
  }
}
