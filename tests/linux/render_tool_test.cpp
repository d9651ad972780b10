// morvane-render as a user runs it: seeded output that never changes, GIFs that play back to
// the renderer's own pictures, and the answers to what it cannot do.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "agreement_scene.h"
#include "linux_test_support.h"
#include "scene_art.h"

namespace {

class RenderTool : public ::testing::Test {
 protected:
  void SetUp() override { WriteFileBytes(scene, SamePixelsSaver()); }
  int Render(const std::vector<std::string>& arguments, std::string* output) {
    std::vector<std::string> argv = {MORVANE_RENDER};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return RunTool(argv, output);
  }
  ScratchFolder dir;
  std::string scene = dir.Path("scene.scr");
};

// Plays a GIF's pictures onto one canvas and returns the last state, with the number of
// pictures and whether it loops.
bool PlayGif(const std::string& path, Pixels* canvas, int* pictures, bool* loops) {
  int error = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
  if (!gif || DGifSlurp(gif) != GIF_OK) return false;
  canvas->width = gif->SWidth;
  canvas->height = gif->SHeight;
  canvas->colours.assign(static_cast<size_t>(gif->SWidth) * gif->SHeight, 0);
  *loops = false;
  *pictures = gif->ImageCount;
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& image = gif->SavedImages[i];
    GraphicsControlBlock control = {DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    DGifSavedExtensionToGCB(gif, i, &control);
    for (int e = 0; e < image.ExtensionBlockCount; ++e) {
      const ExtensionBlock& block = image.ExtensionBlocks[e];
      if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
          std::string(reinterpret_cast<char*>(block.Bytes), 11) == "NETSCAPE2.0")
        *loops = true;
    }
    const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    const GifImageDesc& d = image.ImageDesc;
    for (int y = 0; y < d.Height; ++y)
      for (int x = 0; x < d.Width; ++x) {
        const int index = image.RasterBits[y * d.Width + x];
        if (index == control.TransparentColor) continue;
        const GifColorType c = map->Colors[index];
        canvas->colours[static_cast<size_t>(d.Top + y) * canvas->width + d.Left + x] =
            c.Red | (c.Green << 8) | (static_cast<uint32_t>(c.Blue) << 16);
      }
  }
  DGifCloseFile(gif, &error);
  return true;
}

TEST_F(RenderTool, SeededOutputIsTheSameEveryRun) {
  std::string output;
  for (const char* name : {"a.png", "b.png", "c.png", "a.gif", "b.gif"}) {
    const char* seed = std::string(name) == "c.png" ? "7" : "99";
    ASSERT_EQ(Render({scene, "--size", "160x120", "--seconds", "1.2", "--seed", seed, dir.Path(name)}, &output), 0)
        << output;
  }
  EXPECT_EQ(ReadFileBytes(dir.Path("a.png")), ReadFileBytes(dir.Path("b.png")));
  EXPECT_NE(ReadFileBytes(dir.Path("a.png")), ReadFileBytes(dir.Path("c.png"))) << "the seed places the characters";
  EXPECT_EQ(ReadFileBytes(dir.Path("a.gif")), ReadFileBytes(dir.Path("b.gif")));
}

TEST_F(RenderTool, TheGifPlaysBackToTheSamePictures) {
  std::string output;
  // One picture per paint (20 a second) for 1.5 s: 31 pictures, the last after 31 paints.
  ASSERT_EQ(Render({scene, "--size", "200x150", "--seconds", "1.5", "--seed", "5", dir.Path("run.gif")}, &output), 0)
      << output;
  EXPECT_NE(output.find("31 paints, 31 pictures"), std::string::npos) << output;
  ASSERT_EQ(Render({scene, "--size", "200x150", "--seconds", "1.5", "--seed", "5", dir.Path("last.png")}, &output), 0)
      << output;
  Pixels played, last;
  int pictures = 0;
  bool loops = false;
  ASSERT_TRUE(PlayGif(dir.Path("run.gif"), &played, &pictures, &loops));
  ASSERT_TRUE(ReadPng(dir.Path("last.png"), &last));
  // The scene has few colours, so the table holds them exactly.
  EXPECT_EQ(FirstDifference(last, played), "");
  EXPECT_TRUE(loops);
  EXPECT_GT(pictures, 1);
  EXPECT_LE(pictures, 31);

  // At 4 pictures a second the run is 7 pictures (0, 0.25 ... 1.5 s); still the same last one.
  ASSERT_EQ(Render({scene, "--size", "200x150", "--seconds", "1.5", "--fps", "4", "--seed", "5", dir.Path("slow.gif")},
                   &output),
            0)
      << output;
  EXPECT_NE(output.find("31 paints, 7 pictures"), std::string::npos) << output;
  ASSERT_TRUE(PlayGif(dir.Path("slow.gif"), &played, &pictures, &loops));
  EXPECT_EQ(FirstDifference(last, played), "");
}

// A picture of more colours than a GIF table holds: a wallpaper of two gradients crossing,
// stretched over the screen. Dithered onto the table, every small block of the GIF keeps the
// mean colour of the same block of the exact PNG, where a table alone would band.
TEST_F(RenderTool, AGradientKeepsItsColoursInTheGif) {
  Picture32 gradient(256, 256, 0);
  for (int32_t y = 0; y < 256; ++y)
    for (int32_t x = 0; x < 256; ++x) gradient.at(x, y) = x | (y << 8) | ((255 - (x + y) / 2) << 16);
  ASSERT_TRUE(WriteBmp24(dir.Path("gradient.bmp"), gradient));
  SettingsText settings;
  settings.Set("Initial", "Timer1", 40).Set("Initial", "Crear", 1);
  settings.Set("BackGround", "BmpOpt1", 1).Set("BackGround", "BmpOpt2", 1).Set("BackGround", "Bmp", "gradient.bmp");
  ASSERT_TRUE(settings.Write(dir.Path("MORVANE.INI")));
  std::string output;
  for (const char* name : {"gradient.png", "gradient.gif", "again.gif"}) {
    ASSERT_EQ(Render({dir.Path("MORVANE.INI"), "--size", "320x240", "--seconds", "0.2", "--seed", "3", dir.Path(name)},
                     &output),
              0)
        << output;
  }
  EXPECT_EQ(ReadFileBytes(dir.Path("gradient.gif")), ReadFileBytes(dir.Path("again.gif"))) << "the same on every run";
  Pixels exact, played;
  int pictures = 0;
  bool loops = false;
  ASSERT_TRUE(ReadPng(dir.Path("gradient.png"), &exact));
  ASSERT_TRUE(PlayGif(dir.Path("gradient.gif"), &played, &pictures, &loops));
  ASSERT_EQ(played.width, exact.width);
  ASSERT_EQ(played.height, exact.height);
  const int kBlock = 8;
  std::vector<double> blockErrors;
  double pixelError = 0;
  for (int32_t by = 0; by + kBlock <= exact.height; by += kBlock)
    for (int32_t bx = 0; bx + kBlock <= exact.width; bx += kBlock)
      for (int shift : {0, 8, 16}) {
        double sum = 0;
        for (int32_t y = by; y < by + kBlock; ++y)
          for (int32_t x = bx; x < bx + kBlock; ++x) {
            const double difference = static_cast<double>((played.at(x, y) >> shift) & 0xFF) -
                                      static_cast<double>((exact.at(x, y) >> shift) & 0xFF);
            sum += difference;
            pixelError += difference < 0 ? -difference : difference;
          }
        blockErrors.push_back((sum < 0 ? -sum : sum) / (kBlock * kBlock));
      }
  pixelError /= 3.0 * exact.width * exact.height;
  std::sort(blockErrors.begin(), blockErrors.end());
  double blockError = 0;
  for (double e : blockErrors) blockError += e;
  blockError /= static_cast<double>(blockErrors.size());
  const double nearlyWorst = blockErrors[blockErrors.size() * 95 / 100];
  std::printf("gradient GIF against the PNG, per channel: %.2f mean error of a pixel, %.2f of an %dx%d block's mean"
              " (%.2f for the 95th percentile of blocks, %.2f at worst)\n",
              pixelError, blockError, kBlock, kBlock, nearlyWorst, blockErrors.back());
  EXPECT_LT(pixelError, 8.0);
  EXPECT_LT(blockError, 1.0) << "bands: the blocks' mean colours are off";
  EXPECT_LT(nearlyWorst, 3.0) << "bands: the blocks' mean colours are off";
}

TEST_F(RenderTool, WhatItCannotDo) {
  WriteFileBytes(dir.Path("notes.txt"), {'[', 'x', ']', '\n'});
  WriteFileBytes(dir.Path("kept.png"), {'k', 'e', 'p', 't'});
  struct Case {
    std::vector<std::string> arguments;
    int status;
    const char* says;
  } cases[] = {
      {{dir.Path("notes.txt"), "--size", "64x48", dir.Path("kept.png")}, 1, "neither a packaged saver"},
      {{scene, "--size", "64x48", dir.Path("no/such/folder/out.png")}, 1, "No such file"},
      {{scene, dir.Path("out.png")}, 2, "--size"},
      {{scene, "--size", "64x0", dir.Path("out.png")}, 2, "--size"},
      {{scene, "--size", "20000x20", dir.Path("out.png")}, 2, "--size"},
      {{scene, "--size", "64x48", dir.Path("out.bmp")}, 2, ".png or .gif"},
      {{scene, "--size", "64x48", "--fps", "60", dir.Path("out.gif")}, 2, "--fps"},
      {{scene, "--size", "64x48", "--fps", "5", dir.Path("out.png")}, 2, "--fps"},
      {{scene, "--size", "64x48", "--seconds", "1.2345", dir.Path("out.png")}, 2, "--seconds"},
  };
  for (const Case& c : cases) {
    std::string output;
    EXPECT_EQ(Render(c.arguments, &output), c.status) << c.arguments[0] << ": " << output;
    EXPECT_NE(output.find(c.says), std::string::npos) << output;
  }
  EXPECT_EQ(ReadFileBytes(dir.Path("kept.png")), (std::vector<uint8_t>{'k', 'e', 'p', 't'}));
  std::string output;
  RunTool({"ls", dir.path()}, &output);
  EXPECT_EQ(output, "kept.png\nnotes.txt\nscene.scr\n") << "a half-written file was left behind";
}

}  // namespace
