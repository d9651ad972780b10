#include <gtest/gtest.h>

#include "engine.h"
#include "scene_bytes.h"
#include "surface.h"
#include "surface_soft.h"

namespace {

struct Masked {
  std::vector<std::string> sprite, mask;
  uint8_t hasMask;
};

Masked Prepare(const std::vector<std::string>& rows) {
  FrameSurface frame = {};
  frame.sprite = MakeSurface(rows);
  frame.width = SurfaceWidth(frame.sprite);
  frame.height = SurfaceHeight(frame.sprite);
  PrepareFrameMask(&frame, nullptr);
  Masked result = {Letters(frame.sprite), Letters(frame.mask), frame.hasMask};
  ReleaseSurface(frame.sprite);
  ReleaseSurface(frame.mask);
  return result;
}

struct MaskCase {
  const char* name;
  std::vector<std::string> frame, sprite, mask;
};

class FrameMask : public testing::TestWithParam<MaskCase> {};

TEST_P(FrameMask, BlackensTheCornerAreaAndMasksExactlyIt) {
  const MaskCase& c = GetParam();
  Masked result = Prepare(c.frame);
  EXPECT_EQ(result.hasMask, 1);
  EXPECT_EQ(result.sprite, c.sprite);
  EXPECT_EQ(result.mask, c.mask);
  EXPECT_EQ(SoftLiveSurfaces(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FrameMask,
    testing::Values(
        MaskCase{"WhiteCorner",
                 Picture({"....", ".rr.", ".r#.", "...."}),
                 Picture({"####", "#rr#", "#r##", "####"}),
                 Picture({"....", ".##.", ".##.", "...."})},
        // The corner area turns white first, so white figure pixels touching it join it,
        // while white pixels enclosed by the figure stay opaque and are drawn white.
        MaskCase{"MagentaCornerWithWhiteFigurePixels",
                 Picture({"mmmmm", "m.rrm", "mr.rm", "mrrrm", "mmmmm"}),
                 Picture({"#####", "##rr#", "#r.r#", "#rrr#", "#####"}),
                 Picture({".....", "..##.", ".###.", ".###.", "....."})},
        MaskCase{"BlackCornerBlackFigureEnclosed",
                 Picture({"#####", "#rrr#", "#r#r#", "#rrr#", "#####"}),
                 Picture({"#####", "#rrr#", "#r#r#", "#rrr#", "#####"}),
                 Picture({".....", ".###.", ".###.", ".###.", "....."})},
        MaskCase{"RingEnclosingCornerColour",
                 Picture({"......", ".rrrr.", ".r..r.", ".rrrr.", "......"}),
                 Picture({"######", "#rrrr#", "#r..r#", "#rrrr#", "######"}),
                 Picture({"......", ".####.", ".####.", ".####.", "......"})},
        MaskCase{"DiagonalTouchStaysOpaque",
                 Picture({"...rr", "...rr", "rrr..", "rrr.."}),
                 Picture({"###rr", "###rr", "rrr..", "rrr.."}),
                 Picture({"...##", "...##", "#####", "#####"})},
        // No further corner fills are issued: the white area at row w on the left edge of a
        // frame taller than wide keeps its colour in the sprite and stays opaque in the mask.
        MaskCase{"TallerThanWide",
                 Picture({"..", "rr", ".r", "rr"}),
                 Picture({"##", "rr", ".r", "rr"}),
                 Picture({"..", "##", "##", "##"})}),
    [](const testing::TestParamInfo<MaskCase>& info) { return std::string(info.param.name); });

}  // namespace
