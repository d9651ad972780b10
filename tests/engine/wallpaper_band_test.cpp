// Which wallpaper rows the monitors show, as a source is told before it leaves the others blank:
// exactly the rows from which DrawWallpaperBand draws anything, stretched or centred, on one
// monitor or several, however the heights divide.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine.h"
#include "surface.h"
#include "surface_soft.h"
#include "wallpaper_band.h"

namespace {

TEST(WallpaperRows, ARowIsShownExactlyWhenDrawingItAloneChangesTheBuffer) {
  const struct {
    const char* name;
    bool stretch;
    int32_t width, height;
    std::vector<SceneArea> monitors;
  } cases[] = {
      {"stretched to a quarter", true, 3, 1500, {{0, 0, 2, 375}}},
      {"stretched by an uneven ratio", true, 3, 1501, {{0, 0, 2, 768}}},
      {"stretched up", true, 3, 51, {{0, 0, 2, 77}}},
      {"stretched on two monitors", true, 3, 1000, {{0, 0, 2, 300}, {2, 17, 3, 211}}},
      {"centred, taller than the monitor", false, 3, 1500, {{0, 0, 2, 300}}},
      {"centred on two monitors", false, 9, 101, {{0, 0, 2, 40}, {2, 10, 3, 300}}},
      {"on a monitor of no height", true, 3, 7, {{0, 0, 2, 0}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int32_t right = 0, bottom = 0;
    for (const SceneArea& m : c.monitors) {
      right = std::max(right, m.left + m.width);
      bottom = std::max(bottom, m.top + m.height);
    }
    Surface* buffer = CreateSurface(nullptr, right, bottom > 0 ? bottom : 1);
    Surface* band = CreateSurface(nullptr, c.width, 1);
    FillSurface(band, 0, 0, c.width, 1, kWhite);
    const WallpaperPlacement placement = {c.monitors.data(), int32_t(c.monitors.size()), c.width, c.height, c.stretch};
    int32_t wrong = 0, shown = 0;
    for (int32_t row = 0; row < c.height; ++row) {
      FillSurface(buffer, 0, 0, SurfaceWidth(buffer), SurfaceHeight(buffer), kBlack);
      for (const SceneArea& m : c.monitors) DrawWallpaperBand(buffer, m, c.width, c.height, c.stretch, band, row);
      bool drawn = false;
      const uint32_t* pixels = SoftSurfacePixels(buffer);
      for (size_t i = 0; i < size_t(SurfaceWidth(buffer)) * SurfaceHeight(buffer); ++i) drawn = drawn || pixels[i] != kBlack;
      wrong += drawn != WallpaperRowShown(placement, row);
      shown += drawn;
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(shown > 0, c.monitors[0].height > 0) << "rows drawn at all";
    ReleaseSurface(band);
    ReleaseSurface(buffer);
  }
}

}  // namespace
