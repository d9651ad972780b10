// Wallpapers larger than the largest screen: scaled down (stretched ones) against a plain
// reference scaler, cut to their middle (centred ones) pixel for pixel, and said so by the walk.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "bitmap_intake.h"
#include "build_test_support.h"
#include "byte_order.h"
#include "dib_image.h"
#include "package_builder.h"
#include "package_reader.h"
#include "player_image_source.h"
#include "stdio_build_files.h"
#include "picture_codec.h"
#include "picture_record.h"
#include "picture_transparency.h"
#include "scene_walk.h"
#include "wallpaper_fit.h"
#include "walk_cases.h"

namespace {

// The area average in floating point: each new pixel the mean of the old area under it.
uint32_t ReferencePixel(const std::vector<uint32_t>& in, int32_t w, int32_t h, int32_t nw, int32_t nh, int32_t x,
                        int32_t y) {
  const double x0 = double(x) * w / nw, x1 = double(x + 1) * w / nw;
  const double y0 = double(y) * h / nh, y1 = double(y + 1) * h / nh;
  double sum[3] = {0, 0, 0}, area = 0;
  for (int32_t oy = int32_t(y0); oy < h && oy < y1; ++oy)
    for (int32_t ox = int32_t(x0); ox < w && ox < x1; ++ox) {
      const double part = (std::min(x1, ox + 1.0) - std::max(x0, double(ox))) * (std::min(y1, oy + 1.0) - std::max(y0, double(oy)));
      for (int i = 0; i < 3; ++i) sum[i] += part * ((in[size_t(oy) * w + ox] >> (8 * i)) & 0xFF);
      area += part;
    }
  uint32_t pixel = 0;
  for (int i = 0; i < 3; ++i) pixel |= uint32_t(std::lround(sum[i] / area)) << (8 * i);
  return pixel;
}

TEST(WallpaperScaling, AveragesAsTheReferenceWithinOneAndExactlyAtWholeFactors) {
  const struct {
    int32_t w, h, nw, nh;
    bool whole;  // every new pixel covers whole old pixels
  } cases[] = {{8, 6, 4, 3, true}, {9, 9, 3, 3, true}, {7, 5, 3, 2, false}, {100, 3, 33, 3, false},
               {13, 17, 13, 4, false}, {5, 5, 5, 5, true}, {64, 1, 1, 1, true}};
  for (const auto& c : cases) {
    std::vector<uint32_t> in(size_t(c.w) * c.h);
    for (size_t i = 0; i < in.size(); ++i) in[i] = uint32_t(i * 2654435761u) & 0xFFFFFF;
    std::vector<uint32_t> out(size_t(c.nw) * c.nh);
    ScaleDownPixels(in.data(), c.w, c.h, out.data(), c.nw, c.nh);
    for (int32_t y = 0; y < c.nh; ++y)
      for (int32_t x = 0; x < c.nw; ++x) {
        const uint32_t got = out[size_t(y) * c.nw + x], want = ReferencePixel(in, c.w, c.h, c.nw, c.nh, x, y);
        for (int i = 0; i < 3; ++i) {
          const int difference = int((got >> (8 * i)) & 0xFF) - int((want >> (8 * i)) & 0xFF);
          EXPECT_LE(std::abs(difference), c.whole ? 0 : 1)
              << c.w << "x" << c.h << " to " << c.nw << "x" << c.nh << " at " << x << "," << y;
        }
      }
  }
}

// Each new pixel is the average of the old area it covers rounded half up, exactly: the overlaps
// counted in whole units (1/nw of an old pixel across, 1/nh down), summed in whole numbers.
TEST(WallpaperScaling, EachPixelIsTheExactAreaAverageRoundedHalfUp) {
  const int32_t cases[][4] = {{256, 256, 240, 135}, {97, 61, 41, 60}, {200, 9, 199, 2}, {1021, 3, 7, 1}, {16, 300, 3, 299}};
  for (const auto& c : cases) {
    const int32_t w = c[0], h = c[1], nw = c[2], nh = c[3];
    std::vector<uint32_t> in(size_t(w) * h), out(size_t(nw) * nh);
    for (size_t i = 0; i < in.size(); ++i) in[i] = uint32_t(i * 2654435761u) >> 8;
    ScaleDownPixels(in.data(), w, h, out.data(), nw, nh);
    const auto overlap = [](int64_t k, int64_t n, int64_t i, int64_t m) {
      return std::max<int64_t>(0, std::min((k + 1) * n, (i + 1) * m) - std::max(k * n, i * m));
    };
    int32_t differing = 0;
    for (int32_t y = 0; y < nh; ++y)
      for (int32_t x = 0; x < nw; ++x) {
        int64_t sums[3] = {0, 0, 0};
        for (int32_t oy = 0; oy < h; ++oy)
          for (int32_t ox = 0, down = int32_t(overlap(y, h, oy, nh)); down && ox < w; ++ox)
            for (int i = 0; i < 3; ++i)
              sums[i] += down * overlap(x, w, ox, nw) * ((in[size_t(oy) * w + ox] >> (8 * i)) & 0xFF);
        uint32_t want = 0;
        for (int i = 0; i < 3; ++i) want |= uint32_t((2 * sums[i] + int64_t(w) * h) / (2 * int64_t(w) * h)) << (8 * i);
        differing += out[size_t(y) * nw + x] != want;
      }
    EXPECT_EQ(differing, 0) << w << "x" << h << " to " << nw << "x" << nh;
  }
}

// The wallpaper's pixels as the package holds them.
DibPixels WallpaperOf(const ScenePackageView& view) {
  DibPixels image;
  const char* why = nullptr;
  EXPECT_TRUE(DecodeDib(view.wallpaper.header, view.wallpaper.headerSize, view.wallpaper.bits, view.wallpaper.bitsSize,
                        &image, &why));
  return image;
}

// Builds a saver of the settings in the folder and reads its package back (the view points
// into *bytes); false when either fails.
bool BuildAndRead(const ScratchFolder& folder, TableSettings* settings, OutcomeRecorder* heard,
                  std::vector<uint8_t>* bytes, ScenePackageView* view) {
  StdioBuildFiles files;
  WriteFileBytes(folder.Path("player.scr"), std::vector<uint8_t>(kPlayerImageSize, 0x90));
  const std::string playerPath = folder.Path("player.scr");
  TrailingPlayerImage image(&files, playerPath.c_str());
  BuildSources sources = {settings, &image, &files, folder.path().c_str(), &heard->base, nullptr, false};
  char status = kBuildSucceeded;
  if (!BuildPackagedSaver(sources, folder.Path("out.scr").c_str(), &status)) return false;
  *bytes = ReadFileBytes(folder.Path("out.scr"));
  PackageError error = {0, nullptr};
  return bytes->size() > kPlayerImageSize &&
         ReadScenePackage(bytes->data() + kPlayerImageSize, bytes->size() - kPlayerImageSize, view, &error);
}

TEST(WallpaperFitting, TooLargeWallpapersAreScaledOrCutOnceWithANote) {
  const struct {
    int32_t w, h;
    bool stretched;
    int32_t nw, nh;
    const char* said;  // empty: nothing
  } cases[] = {
      {7680, 3, true, 7680, 3, ""},
      {7700, 3, true, 7680, 3, "scaled down to 7680 x 3"},
      {7700, 3, false, 7680, 3, "cut to its middle 7680 x 3"},
      {7681, 3, false, 7679, 3, "cut to its middle 7679 x 3"},
      {3, 4331, false, 3, 4319, "cut to its middle 3 x 4319"},
      {3, 4400, true, 3, 4320, "scaled down to 3 x 4320"},
  };
  for (const auto& c : cases) {
    ScratchFolder folder;
    const std::vector<uint8_t> file = MakeBmp(c.w, c.h, 24, 0, 0, 7);
    WriteFileBytes(folder.Path("wall.bmp"), file);
    TableSettings settings;
    settings.Set("BackGround", "BmpOpt1", "1");
    settings.Set("BackGround", "BmpOpt2", c.stretched ? "1" : "0");
    settings.Set("BackGround", "Bmp", "wall.bmp");
    OutcomeRecorder heard = MakeOutcomeRecorder();
    std::vector<uint8_t> bytes;
    ScenePackageView view;
    ASSERT_TRUE(BuildAndRead(folder, &settings, &heard, &bytes, &view));
    const char* why = nullptr;
    DibPixels kept = WallpaperOf(view);
    EXPECT_EQ(kept.width, c.nw) << c.w << "x" << c.h;
    EXPECT_EQ(kept.height, c.nh) << c.w << "x" << c.h;
    const std::vector<std::string> said = OutcomeLines("morvane-pack", heard.heard);
    ASSERT_EQ(said.size(), *c.said ? 1u : 0u);
    if (*c.said) {
      EXPECT_NE(said[0].find("wallpaper wall.bmp"), std::string::npos) << said[0];
      EXPECT_NE(said[0].find(c.said), std::string::npos) << said[0];
    }
    DibPixels old;
    ASSERT_TRUE(DecodeDib(file.data() + 14, 40, file.data() + 54, file.size() - 54, &old, &why));
    if (c.stretched) {
      // Read row by row from the record, the pixels the scaler gives for the whole picture.
      std::vector<uint32_t> scaled(size_t(c.nw) * c.nh);
      ScaleDownPixels(old.pixels, c.w, c.h, scaled.data(), c.nw, c.nh);
      EXPECT_EQ(std::memcmp(kept.pixels, scaled.data(), scaled.size() * 4), 0) << c.w << "x" << c.h;
    } else {
      // Every pixel of the middle is the very pixel the old wallpaper had there.
      const int32_t left = (c.w - c.nw) / 2, top = (c.h - c.nh) / 2;
      for (int32_t y = 0; y < c.nh; ++y)
        ASSERT_EQ(std::memcmp(kept.pixels + size_t(y) * c.nw, old.pixels + size_t(top + y) * c.w + left, size_t(c.nw) * 4), 0)
            << "row " << y;
    }
    ReleaseDibPixels(&old);
    ReleaseDibPixels(&kept);
  }
}

// A still picture of given RGBA pixels behind the codec seam, read whole or row by row.
struct StillCodec {
  PictureCodec base;
  const std::vector<uint8_t>* rgba;
  int32_t width, height, row;
};

StillCodec MakeStillCodec(const std::vector<uint8_t>* rgba, int32_t width, int32_t height) {
  StillCodec codec = {};
  codec.rgba = rgba;
  codec.width = width;
  codec.height = height;
  codec.base.begin = [](PictureCodec* c, PictureFormat, const SourceBytes*, int32_t* w, int32_t* h, const char**) {
    StillCodec* self = reinterpret_cast<StillCodec*>(c);
    *w = self->width, *h = self->height, self->row = 0;
    return true;
  };
  codec.base.nextFrame = [](PictureCodec* c, uint8_t* out, const char**) {
    StillCodec* self = reinterpret_cast<StillCodec*>(c);
    std::memcpy(out, self->rgba->data(), self->rgba->size());
    return PictureFrameReady;
  };
  codec.base.beginRows = [](PictureCodec*) { return true; };
  codec.base.nextRow = [](PictureCodec* c, uint8_t* out, const char**) {
    StillCodec* self = reinterpret_cast<StillCodec*>(c);
    if (self->row >= self->height) return PictureEnded;
    const size_t bytes = size_t(self->width) * 4;
    std::memcpy(out, self->rgba->data() + bytes * size_t(self->row++), bytes);
    return PictureFrameReady;
  };
  codec.base.end = [](PictureCodec*) {};
  return codec;
}

// The walk's wallpaper, taken row by row, has the form and the rows (bottom-up in the record)
// of `expected`, nh rows high, and no more.
void ExpectRowsOfRecord(SceneWalk* walk, const BitmapRecord& expected, int32_t nh) {
  BitmapRecord form;
  ASSERT_TRUE(walk->WallpaperByRows(&form));
  EXPECT_EQ(std::memcmp(form.infoHeader, expected.infoHeader, sizeof form.infoHeader), 0);
  ASSERT_EQ(form.colourCount, expected.colourCount);
  EXPECT_EQ(std::memcmp(form.colours, expected.colours, 4 * form.colourCount), 0);
  ASSERT_EQ(form.bitsSize, expected.bitsSize);
  const uint32_t stride = expected.bitsSize / uint32_t(nh);
  std::vector<uint8_t> row(stride);
  int32_t differing = 0;
  for (int32_t y = 0; y < nh; ++y) {
    ASSERT_TRUE(walk->NextWallpaperRow(row.data())) << "row " << y;
    differing += std::memcmp(row.data(), expected.bits + size_t(nh - 1 - y) * stride, stride) != 0;
  }
  EXPECT_EQ(differing, 0);
  EXPECT_FALSE(walk->NextWallpaperRow(row.data()));
}

TEST(WallpaperFitting, ADecodedWallpaperTakenRowByRowHasTheRowsOfItsWholeRecord) {
  const struct {
    int32_t w, h;
    bool stretched;
  } cases[] = {{40, 30, true}, {7700, 3, true}, {7700, 3, false}, {7681, 5, false}, {3, 4400, true}, {5, 4331, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + (c.stretched ? " stretched" : " centred"));
    std::vector<uint8_t> rgba(size_t(c.w) * c.h * 4);
    for (size_t i = 0; i < rgba.size(); ++i) rgba[i] = uint8_t((i * 2654435761u) >> 13);
    // The whole path: the frame prepared for the wallpaper's look, its record, then fitted.
    const PictureLook look = {false, 0x00203040, false};
    std::vector<uint8_t> prepared = rgba;
    PrepareTransparency(prepared.data(), c.w, c.h, look);
    BitmapRecord expected;
    ASSERT_TRUE(RgbaToRecord(prepared.data(), c.w, c.h, &expected));
    int32_t nw = 0, nh = 0;
    FitWallpaper(&expected, c.stretched, &nw, &nh);

    ScratchFolder folder;
    WriteFileBytes(folder.Path("wall.png"), {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0});
    TableSettings settings;
    settings.Set("BackGround", "ColorR", "64");
    settings.Set("BackGround", "ColorG", "48");
    settings.Set("BackGround", "ColorB", "32");
    settings.Set("BackGround", "BmpOpt1", "1");
    settings.Set("BackGround", "BmpOpt2", c.stretched ? "1" : "0");
    settings.Set("BackGround", "Bmp", "wall.png");
    StillCodec codec = MakeStillCodec(&rgba, c.w, c.h);
    StdioBuildFiles files;
    OutcomeRecorder heard = MakeOutcomeRecorder();
    SceneWalk walk(SceneWalkSources{&settings, &files, folder.path().c_str(), &codec.base, &heard.base, nullptr});
    walk.Timing();
    while (walk.NextCharacter()) {}
    ASSERT_NE(walk.Background().wallpaper, 0);
    ExpectRowsOfRecord(&walk, expected, nh);
    EXPECT_EQ(heard.heard.size(), c.w > 7680 || c.h > 4320 ? 1u : 0u);

    // A writer that wants the record whole gets the same bytes.
    SceneWalk again(SceneWalkSources{&settings, &files, folder.path().c_str(), &codec.base, nullptr, nullptr});
    again.Timing();
    while (again.NextCharacter()) {}
    again.Background();
    BitmapRecord whole;
    ASSERT_TRUE(again.TakeWallpaper(&whole));
    ASSERT_EQ(whole.bitsSize, expected.bitsSize);
    EXPECT_EQ(std::memcmp(whole.bits, expected.bits, whole.bitsSize), 0);
    ReleaseBitmapRecord(&whole);
    ReleaseBitmapRecord(&expected);
  }
}

// A bitmap wallpaper's rows are read from its file as they are asked for: the header, colour
// table and rows (their padding bytes too) of the record the whole file gives, fitted or not.
TEST(WallpaperFitting, ABitmapWallpaperReadFromItsFileHasTheBytesOfItsWholeRecord) {
  const struct {
    int32_t w, h;
    bool topDown;
    uint32_t table;
    bool stretched;
  } cases[] = {{333, 21, false, 0, false}, {333, 21, true, 0, true}, {50, 9, false, 4, false},
               {7700, 3, true, 0, true}, {7681, 5, false, 0, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + (c.topDown ? " top-down" : ""));
    std::vector<uint8_t> file = MakeBmp(c.w, c.h, 24, c.table, c.table, 11);
    if (c.topDown) WriteU32LE(file.data() + 22, uint32_t(-c.h));
    MemoryByteSource source(file.data(), file.size());
    BitmapRecord expected;
    const char* why = nullptr;
    ASSERT_TRUE(IntakeBitmap(&source, &expected, &why)) << why;
    int32_t nw = 0, nh = 0;
    FitWallpaper(&expected, c.stretched, &nw, &nh);

    ScratchFolder folder;
    WriteFileBytes(folder.Path("wall.bmp"), file);
    TableSettings settings;
    settings.Set("BackGround", "BmpOpt1", "1");
    settings.Set("BackGround", "BmpOpt2", c.stretched ? "1" : "0");
    settings.Set("BackGround", "Bmp", "wall.bmp");
    StdioBuildFiles files;
    SceneWalk walk(SceneWalkSources{&settings, &files, folder.path().c_str(), nullptr, nullptr, nullptr});
    walk.Timing();
    while (walk.NextCharacter()) {}
    ASSERT_NE(walk.Background().wallpaper, 0);
    ExpectRowsOfRecord(&walk, expected, nh);
    ReleaseBitmapRecord(&expected);
  }
}

}  // namespace

// Frames are kept whole by the players: once the scene's frames would take more memory than a
// player keeps for them, a frame is left out with the limit, and smaller ones after it still fit.
TEST(FrameMemory, FramesBeyondThePlayersBudgetAreLeftOutNamingTheLimit) {
  ScratchFolder folder;
  WriteFileBytes(folder.Path("big.bmp"), MakeBmp(1500, 1500, 24, 0, 0, 3));
  WriteFileBytes(folder.Path("small.bmp"), MakeBmp(10, 10, 24, 0, 0, 4));
  TableSettings settings;
  settings.Set("Character", "A0", "big.bmp");
  settings.Set("Character", "A1", "big.bmp");
  settings.Set("Character", "A2", "small.bmp");
  OutcomeRecorder heard = MakeOutcomeRecorder();
  std::vector<uint8_t> bytes;
  ScenePackageView view;
  ASSERT_TRUE(BuildAndRead(folder, &settings, &heard, &bytes, &view));
  ASSERT_EQ(view.characterCount, 1u);
  EXPECT_EQ(view.characters[0].frameCount, 2u);
  const std::vector<std::string> said = OutcomeLines("morvane-pack", heard.heard);
  ASSERT_EQ(said.size(), 1u);
  EXPECT_NE(said[0].find("frame A1 big.bmp"), std::string::npos) << said[0];
  EXPECT_NE(said[0].find("over the limit of 32 MiB"), std::string::npos) << said[0];
}
