// A pixel-buffer window hands what is copied onto it to its sink, clipped, and nothing else.
#include <gtest/gtest.h>

#include <vector>

#include "scene_bytes.h"
#include "surface.h"
#include "surface_soft.h"

namespace {

struct RecordingSink {
  SoftWindowSink base;
  struct Put {
    int32_t x, y, width, height;
    bool lasting;
    std::vector<uint32_t> pixels;
  };
  std::vector<Put> puts;
};

void Record(SoftWindowSink* sink, const uint32_t* pixels, int32_t stride, int32_t x, int32_t y, int32_t width,
            int32_t height, bool lasting) {
  RecordingSink::Put put{x, y, width, height, lasting, {}};
  for (int32_t row = 0; row < height; ++row)
    put.pixels.insert(put.pixels.end(), pixels + row * stride, pixels + row * stride + width);
  reinterpret_cast<RecordingSink*>(sink)->puts.push_back(put);
}

TEST(SoftWindow, CopiesGoToTheSinkClipped) {
  RecordingSink sink = {{Record}, {}};
  const int32_t before = SoftLiveSurfaces();
  Surface* window = CreateSoftWindow(6, 4, &sink.base);
  Surface* picture = MakeSurface({"rgb", "m#y"});
  ASSERT_NE(window, nullptr);

  // Row 0 of the picture falls above the window, columns past 6 off its right edge.
  TransferSurface(window, 4, -1, 3, 2, picture, 0, 0, RopSrcCopy);
  ASSERT_EQ(sink.puts.size(), 1u);
  EXPECT_EQ(sink.puts[0].x, 4);
  EXPECT_EQ(sink.puts[0].y, 0);
  EXPECT_EQ(sink.puts[0].width, 2);
  EXPECT_EQ(sink.puts[0].height, 1);
  EXPECT_TRUE(sink.puts[0].lasting) << "the picture's own pixels";
  EXPECT_EQ(sink.puts[0].pixels, (std::vector<uint32_t>{LetterColour('m'), LetterColour('#')}));

  // Only copies reach a window: it has no pixels of its own to combine with.
  TransferSurface(window, 0, 0, 3, 2, picture, 0, 0, RopSrcAnd);
  FillSurface(window, 0, 0, 6, 4, kWhite);
  EXPECT_EQ(sink.puts.size(), 1u);
  EXPECT_EQ(ReadSurfacePixel(window, 0, 0), kInvalidColour);

  // A stretch (the preview) reaches it as one rectangle, as the pixel buffers would draw it.
  Surface* reference = CreateSurface(nullptr, 6, 4);
  StretchSurface(reference, -1, 1, 6, 4, picture, 0, 0, 3, 2, RopSrcCopy);
  StretchSurface(window, -1, 1, 6, 4, picture, 0, 0, 3, 2, RopSrcCopy);
  ASSERT_EQ(sink.puts.size(), 2u);
  const RecordingSink::Put& put = sink.puts[1];
  EXPECT_EQ(put.x, 0);
  EXPECT_EQ(put.y, 1);
  EXPECT_FALSE(put.lasting) << "a buffer of the moment";
  ASSERT_EQ(put.width, 5);
  ASSERT_EQ(put.height, 3);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 5; ++x)
      EXPECT_EQ(put.pixels[y * 5 + x], ReadSurfacePixel(reference, x, y + 1)) << x << "," << y;

  ReleaseSurface(reference);
  ReleaseSurface(picture);
  ReleaseSurface(window);
  EXPECT_EQ(SoftLiveSurfaces(), before);
}

}  // namespace
