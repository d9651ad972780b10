// What every surface layer must do, written against the layer's interface only: natively it
// checks the pixel buffers, under Wine the very same cases check GDI.
#include <gtest/gtest.h>

#include "scene_bytes.h"
#include "surface.h"

namespace {

std::vector<std::string> Transfer(int32_t dx, int32_t dy, int32_t w, int32_t h, int32_t sx, int32_t sy) {
  Surface* dest = MakeSurface(Picture({"....", "....", "...."}));
  Surface* src = MakeSurface(Picture({"rgb", "myr", "#gb"}));
  TransferSurface(dest, dx, dy, w, h, src, sx, sy, RopSrcCopy);
  std::vector<std::string> result = Letters(dest);
  ReleaseSurface(dest);
  ReleaseSurface(src);
  return result;
}

TEST(SurfaceLayer, TransfersClipToBothPicturesAndAllowNegativePositions) {
  EXPECT_EQ(Transfer(1, 0, 3, 3, 0, 0), Picture({".rgb", ".myr", ".#gb"}));
  EXPECT_EQ(Transfer(-1, -2, 3, 3, 0, 0), Picture({"gb..", "....", "...."}));
  EXPECT_EQ(Transfer(2, 1, 3, 3, 0, 0), Picture({"....", "..rg", "..my"}));
  EXPECT_EQ(Transfer(0, 0, 0, 3, 0, 0), Picture({"....", "....", "...."}));
}

TEST(SurfaceLayer, RasterOperationsCombineWholeColourValues) {
  const uint32_t a = 0x00F0CC33, b = 0x003C5AA5;
  const struct {
    RasterOp op;
    uint32_t expected;
  } cases[] = {{RopSrcCopy, b}, {RopSrcAnd, a & b}, {RopSrcPaint, a | b}, {RopSrcInvert, a ^ b}};
  for (const auto& c : cases) {
    Surface* dest = CreateSurface(nullptr, 2, 1);
    Surface* src = CreateSurface(nullptr, 2, 1);
    FillSurface(dest, 0, 0, 2, 1, a);
    FillSurface(src, 0, 0, 2, 1, b);
    TransferSurface(dest, 0, 0, 2, 1, src, 0, 0, c.op);
    EXPECT_EQ(ReadSurfacePixel(dest, 1, 0), c.expected) << std::hex << c.op;
    StretchSurface(dest, 0, 0, 1, 1, src, 0, 0, 2, 1, c.op);
    ReleaseSurface(dest);
    ReleaseSurface(src);
  }
}

// Every pixel a masked transfer changed lies in the reach it gave beforehand.
void ExpectChangesWithinReach(const std::vector<std::string>& before, const std::vector<std::string>& after,
                              int32_t dx, int32_t dy, const int32_t reach[4]) {
  for (int32_t y = 0; y < static_cast<int32_t>(before.size()); ++y)
    for (int32_t x = 0; x < static_cast<int32_t>(before[y].size()); ++x)
      if (before[y][x] != after[y][x]) {
        EXPECT_TRUE(x - dx >= reach[0] && x - dx < reach[2] && y - dy >= reach[1] && y - dy < reach[3])
            << "pixel " << x << "," << y << " changed outside the reach";
      }
}

// The masked transfer against the two transfers it stands for, on two copies of one picture.
void ExpectMaskedAsTwoTransfers(const Surface* mask, const Surface* sprite, int32_t dx, int32_t dy, int32_t w,
                                int32_t h) {
  const std::vector<std::string> picture = Picture({"rgby", "gbyr", "byrg", "yrgb"});
  Surface* masked = MakeSurface(picture);
  Surface* twice = MakeSurface(picture);
  int32_t reach[4];
  MaskedTransferReach(masked, w, h, mask, sprite, reach);
  MaskedTransferSurface(masked, dx, dy, w, h, mask, sprite);
  TransferSurface(twice, dx, dy, w, h, mask, 0, 0, RopSrcAnd);
  TransferSurface(twice, dx, dy, w, h, sprite, 0, 0, RopSrcPaint);
  EXPECT_EQ(Letters(masked), Letters(twice)) << "at " << dx << "," << dy << " size " << w << "x" << h;
  ExpectChangesWithinReach(picture, Letters(masked), dx, dy, reach);
  ReleaseSurface(masked);
  ReleaseSurface(twice);
}

TEST(SurfaceLayer, MaskedTransfersDrawWhatAnAndThenAnOrDraw) {
  // White mask over black sprite leaves the picture, black mask takes the sprite, and a red mask
  // or a sprite colour under white combine both.
  Surface* mask = MakeSurface(Picture({".#.", "..#", "r.."}));
  Surface* sprite = MakeSurface(Picture({"#g#", "##m", "gr#"}));
  Surface* dest = MakeSurface(Picture({"rgby", "gbyr", "byrg", "yrgb"}));
  MaskedTransferSurface(dest, 1, 1, 3, 3, mask, sprite);
  EXPECT_EQ(Letters(dest), Picture({"rgby", "gbgr", "byrm", "yyyb"}));
  ReleaseSurface(dest);
  const int32_t places[][4] = {{0, 0, 3, 3}, {-1, -2, 3, 3}, {2, 3, 3, 3}, {1, 0, 2, 1}, {0, 0, 0, 3}};
  for (const auto& p : places) ExpectMaskedAsTwoTransfers(mask, sprite, p[0], p[1], p[2], p[3]);
  // The same pair again after either of them changed.
  FloodFillSurface(sprite, 1, 0, 0x00FF00, 0xFF0000);
  ExpectMaskedAsTwoTransfers(mask, sprite, 0, 0, 3, 3);
  FillSurface(mask, 0, 0, 3, 1, kBlack);
  ExpectMaskedAsTwoTransfers(mask, sprite, 0, 0, 3, 3);
  // A pair of two sizes clips to each as its two transfers do.
  Surface* wide = MakeSurface(Picture({"rgbm"}));
  ExpectMaskedAsTwoTransfers(mask, wide, 0, 0, 4, 3);
  ReleaseSurface(wide);
  // A mask that changes at every pixel.
  Surface* speckled = MakeSurface(Picture({"#.#.", ".#.#", "#.#.", ".#.#"}));
  Surface* colours = MakeSurface(Picture({"rgby", "m#g#", "#b#r", "yrgb"}));
  ExpectMaskedAsTwoTransfers(speckled, colours, 0, 0, 4, 4);
  ExpectMaskedAsTwoTransfers(speckled, colours, 1, -1, 4, 4);
  ReleaseSurface(speckled);
  ReleaseSurface(colours);
  // A pair with a transparent margin.
  Surface* framed = MakeSurface(Picture({"....", ".#..", "...."}));
  Surface* middle = MakeSurface(Picture({"####", "#r##", "####"}));
  ExpectMaskedAsTwoTransfers(framed, middle, 0, 0, 4, 3);
  ExpectMaskedAsTwoTransfers(framed, middle, -1, 1, 4, 3);
  ReleaseSurface(framed);
  ReleaseSurface(middle);
  ReleaseSurface(mask);
  ReleaseSurface(sprite);
}

// The scaled masked transfer against the two stretches it stands for, at sizes that shrink,
// enlarge and clip, for pairs whose runs keep, copy and mix.
// A wide pair of few runs a row, as characters' pairs are: transparent margins, an opaque body
// with a few mixed pixels.
void WidePair(std::vector<std::string>* mask, std::vector<std::string>* sprite) {
  for (int y = 0; y < 10; ++y) {
    std::string m(40, '.'), s(40, '#');
    for (int x = 8 + y; x < 30 - y / 2; ++x) {
      m[x] = x == 20 ? 'r' : '#';
      s[x] = "rgbmy"[(x / 3 + y) % 5];
    }
    mask->push_back(m);
    sprite->push_back(s);
  }
}

// Wider than the tables of a draw that fit on its stack: kept, copied and mixed runs of
// changing lengths across 1100 columns.
void VeryWidePair(std::vector<std::string>* mask, std::vector<std::string>* sprite) {
  for (int y = 0; y < 6; ++y) {
    std::string m(1100, '.'), s(1100, '#');
    for (int x = 0; x < 1100; ++x) {
      const int band = (x + 7 * y) % 53;
      if (band < 20) continue;
      m[x] = band == 31 ? 'r' : '#';
      s[x] = "rgbmy"[(x / 7 + y) % 5];
    }
    mask->push_back(m);
    sprite->push_back(s);
  }
}

TEST(SurfaceLayer, MaskedStretchesDrawWhatTwoStretchesDraw) {
  std::vector<std::string> picture;
  for (int y = 0; y < 24; ++y) picture.push_back(std::string("rgbyrgbyrgbyrgbyrgbyrgbyrgbyrgbyrgbyrgbyrgbyrgby").substr(y % 4, 44));
  std::vector<std::string> wideMask, wideSprite, veryWideMask, veryWideSprite;
  WidePair(&wideMask, &wideSprite);
  VeryWidePair(&veryWideMask, &veryWideSprite);
  const struct {
    std::vector<std::string> mask, sprite;
  } pairs[] = {
      {wideMask, wideSprite},
      {veryWideMask, veryWideSprite},
      {Picture({".#.", "..#", "r.."}), Picture({"#g#", "##m", "gr#"})},
      {Picture({"#.#.", ".#.#", "#.#.", ".#.#"}), Picture({"rgby", "m#g#", "#b#r", "yrgb"})},
      {Picture({"....", ".#..", "...."}), Picture({"####", "#r##", "####"})},
      {Picture({"...", "..."}), Picture({"###", "###"})},
  };
  const int32_t places[][4] = {{0, 0, 6, 5},   {1, 1, 2, 2},   {0, 0, 1, 1},  {-2, -1, 7, 4}, {3, 2, 5, 5},
                               {2, 0, 3, 3},   {0, 0, 0, 4},   {-9, 0, 5, 5}, {0, 0, 44, 24}, {-7, 3, 29, 9},
                               {10, -4, 61, 23}, {5, 5, 40, 10}, {30, 20, 39, 11}, {-1000, 1, 2200, 18}};
  for (const auto& pair : pairs) {
    Surface* mask = MakeSurface(pair.mask);
    Surface* sprite = MakeSurface(pair.sprite);
    for (const auto& p : places) {
      Surface* masked = MakeSurface(picture);
      Surface* twice = MakeSurface(picture);
      int32_t reach[4];
      MaskedStretchReach(masked, p[2], p[3], mask, sprite, reach);
      MaskedStretchSurface(masked, p[0], p[1], p[2], p[3], mask, sprite);
      const int32_t w = SurfaceWidth(mask), h = SurfaceHeight(mask);
      StretchSurface(twice, p[0], p[1], p[2], p[3], mask, 0, 0, w, h, RopSrcAnd);
      StretchSurface(twice, p[0], p[1], p[2], p[3], sprite, 0, 0, w, h, RopSrcPaint);
      EXPECT_EQ(Letters(masked), Letters(twice)) << pair.mask[0] << " at " << p[0] << "," << p[1] << " size " << p[2] << "x" << p[3];
      ExpectChangesWithinReach(picture, Letters(masked), p[0], p[1], reach);
      ReleaseSurface(masked);
      ReleaseSurface(twice);
    }
    ReleaseSurface(mask);
    ReleaseSurface(sprite);
  }
}

#ifndef _WIN32
// Only pixel buffers hold bits above the colour, and a white mask clears them as AND does.
TEST(SurfaceLayer, MaskedTransfersClearBitsAboveTheColourUnderAWhiteMask) {
  Surface* mask = MakeSurface(Picture({"..", ".#"}));
  Surface* sprite = MakeSurface(Picture({"##", "#r"}));
  Surface* dest = CreateSurface(nullptr, 2, 2);
  FillSurface(dest, 0, 0, 2, 2, 0xFF00FF00);
  int32_t reach[4];
  MaskedTransferReach(dest, 2, 2, mask, sprite, reach);
  MaskedTransferSurface(dest, 0, 0, 2, 2, mask, sprite);
  EXPECT_EQ(Letters(dest), Picture({"gg", "gr"}));
  // The white part changed too, so all of it is in reach.
  EXPECT_EQ(std::vector<int32_t>(reach, reach + 4), std::vector<int32_t>({0, 0, 2, 2}));
  ReleaseSurface(dest);
  ReleaseSurface(mask);
  ReleaseSurface(sprite);
}
#endif

TEST(SurfaceLayer, StretchingTakesWholePixelsAndDrawsNothingAtSizeZero) {
  Surface* src = MakeSurface(Picture({"rg", "by"}));
  Surface* dest = MakeSurface(Picture({"....", "....", "....", "...."}));
  StretchSurface(dest, 0, 0, 0, 4, src, 0, 0, 2, 2, RopSrcCopy);
  StretchSurface(dest, 0, 0, 4, 0, src, 0, 0, 2, 2, RopSrcCopy);
  EXPECT_EQ(Letters(dest), Picture({"....", "....", "....", "...."}));
  StretchSurface(dest, 0, 0, 4, 4, src, 0, 0, 2, 2, RopSrcCopy);
  EXPECT_EQ(Letters(dest), Picture({"rrgg", "rrgg", "bbyy", "bbyy"}));
  StretchSurface(dest, -2, 2, 4, 4, src, 0, 0, 2, 2, RopSrcCopy);  // clipped at the edges
  EXPECT_EQ(Letters(dest), Picture({"rrgg", "rrgg", "ggyy", "ggyy"}));
  // Shrinking keeps one of the source's own colours in every pixel.
  Surface* small = CreateSurface(nullptr, 1, 1);
  StretchSurface(small, 0, 0, 1, 1, src, 0, 0, 2, 2, RopSrcCopy);
  uint32_t kept = ReadSurfacePixel(small, 0, 0);
  EXPECT_TRUE(kept == 0x0000FF || kept == 0x00FF00 || kept == 0xFF0000 || kept == 0x00FFFF) << std::hex << kept;
  ReleaseSurface(small);
  ReleaseSurface(dest);
  ReleaseSurface(src);
}

TEST(SurfaceLayer, FillsAndReadsStayInsideThePicture) {
  Surface* s = MakeSurface(Picture({"...", "..."}));
  FillSurface(s, -5, -5, 2, 1, 0x0000FF);
  FillSurface(s, 2, 1, 10, 10, 0x00FF00);
  EXPECT_EQ(Letters(s), Picture({"rr.", "..g"}));
  EXPECT_EQ(ReadSurfacePixel(s, -1, 0), kInvalidColour);
  EXPECT_EQ(ReadSurfacePixel(s, 3, 0), kInvalidColour);
  EXPECT_EQ(ReadSurfacePixel(s, 0, 2), kInvalidColour);
  EXPECT_EQ(SurfaceWidth(s), 3);
  EXPECT_EQ(SurfaceHeight(s), 2);
  ReleaseSurface(s);
}

TEST(SurfaceLayer, FloodFillFollowsOnlyHorizontalAndVerticalNeighbours) {
  Surface* s = MakeSurface(Picture({"rr#r", "r#rr", "#rr#", "rr#r"}));
  FloodFillSurface(s, 0, 0, 0x0000FF, 0x00FF00);
  EXPECT_EQ(Letters(s), Picture({"gg#r", "g#rr", "#rr#", "rr#r"}));
  FloodFillSurface(s, 3, 0, 0x0000FF, 0xFFFFFF);
  EXPECT_EQ(Letters(s), Picture({"gg#.", "g#..", "#..#", "..#r"}));
  FloodFillSurface(s, 0, 3, 0x00FF00, 0xFFFFFF);  // another colour at the start: nothing
  FloodFillSurface(s, 4, 3, 0x0000FF, 0xFFFFFF);  // outside: nothing
  FloodFillSurface(s, 0, -1, 0x0000FF, 0xFFFFFF);
  EXPECT_EQ(Letters(s), Picture({"gg#.", "g#..", "#..#", "..#r"}));
  ReleaseSurface(s);
  // A comb: one row of red over teeth of red and black, each tooth a run of its own to visit.
  std::vector<std::string> comb = {std::string(1201, 'r'), std::string(1201, 'r')};
  for (size_t x = 1; x < comb[1].size(); x += 2) comb[1][x] = '#';
  Surface* teeth = MakeSurface(comb);
  FloodFillSurface(teeth, 0, 0, 0x0000FF, 0x00FF00);
  for (char& c : comb[0]) c = 'g';
  for (size_t x = 0; x < comb[1].size(); x += 2) comb[1][x] = 'g';
  EXPECT_EQ(Letters(teeth), comb);
  ReleaseSurface(teeth);
}

}  // namespace
