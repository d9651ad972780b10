// A PNG wallpaper is decoded once, as its rows are drawn, so damage past its first rows is found
// only after part of it was handed out: the builder and the player of the settings still leave
// it out whole, in the words of a picture refused at once, and show the background colour alone.
#include <gtest/gtest.h>

#include <png.h>

#include <string>
#include <vector>

#include "library_picture_codec.h"
#include "linux_test_support.h"
#include "package_builder.h"
#include "package_reader.h"
#include "stdio_build_files.h"
#include "walk_cases.h"

namespace {

// An RGB PNG of noise, so that its compressed rows run through many chunks.
std::vector<uint8_t> NoisePng(int32_t width, int32_t height) {
  std::vector<uint8_t> rgb(size_t(width) * height * 3);
  uint32_t state = 12345;
  for (uint8_t& byte : rgb) byte = uint8_t((state = state * 1103515245u + 12345u) >> 23);
  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  image.width = uint32_t(width);
  image.height = uint32_t(height);
  image.format = PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr));
  std::vector<uint8_t> png(size);
  EXPECT_TRUE(png_image_write_to_memory(&image, png.data(), &size, 0, rgb.data(), 0, nullptr));
  png.resize(size);
  return png;
}

TEST(DamagedWallpaper, APngCutPastItsFirstRowsIsLeftOutWholeByTheBuilderAndThePlayer) {
  const struct {
    int32_t w, h;
    bool stretched;
    const char* note;  // of the whole picture; empty: none
  } cases[] = {{7700, 100, true, "scaled down to 7680 x 100"},
               {7700, 100, false, "cut to its middle 7680 x 100"},
               {1000, 1500, false, ""}};
  for (const auto& c : cases) {
    for (const bool cut : {false, true}) {
      SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + (c.stretched ? " stretched" : " centred") +
                   (cut ? ", cut" : ", whole"));
      ScratchFolder dir;
      std::vector<uint8_t> png = NoisePng(c.w, c.h);
      // Three quarters in: past the first bands of rows the player draws, before the last.
      if (cut) png.resize(png.size() * 3 / 4);
      WriteFileBytes(dir.Path("wall.png"), png);
      TableSettings settings;
      settings.Set("BackGround", "ColorR", "16");
      settings.Set("BackGround", "ColorG", "24");
      settings.Set("BackGround", "ColorB", "64");
      settings.Set("BackGround", "BmpOpt1", "1");
      settings.Set("BackGround", "BmpOpt2", c.stretched ? "1" : "0");
      settings.Set("BackGround", "Bmp", "wall.png");
      const std::string text = settings.ProfileText();
      const std::string settingsFile = dir.Path("scene.ini"), saver = dir.Path("scene.scr");
      WriteFileBytes(settingsFile, std::vector<uint8_t>(text.begin(), text.end()));

      OutcomeRecorder heard = MakeOutcomeRecorder();
      StdioBuildFiles files;
      BlankPlayerImage image;
      LibraryPictureCodec codecs;
      OpenLibraryPictureCodec(&codecs);
      BuildSources sources = {&settings, &image, &files, dir.path().c_str(), &heard.base, &codecs.base, false, nullptr};
      char status = kBuildSucceeded;
      ASSERT_TRUE(BuildPackagedSaver(sources, saver.c_str(), &status));
      const std::vector<uint8_t> bytes = ReadFileBytes(saver);
      ScenePackageView view;
      PackageError error = {0, nullptr};
      ASSERT_TRUE(ReadScenePackage(bytes.data() + kPlayerImageSize, bytes.size() - kPlayerImageSize, &view, &error))
          << error.reason;
      EXPECT_EQ(view.background.wallpaper != 0, !cut);
      const std::vector<std::string> said = OutcomeLines("morvane-render", heard.heard);
      ASSERT_EQ(said.size(), cut || *c.note ? 1u : 0u);
      if (cut) EXPECT_EQ(said[0], "morvane-render: wallpaper wall.png: left out: the file cannot be read (PNG file ends early)\n");
      if (!cut && *c.note) EXPECT_NE(said[0].find(c.note), std::string::npos) << said[0];

      // The settings played say what the builder said, and show what its saver shows: on a
      // screen lower than the picture, whose source passes over the rows it does not show.
      std::string output;
      for (const std::string& scene : {settingsFile, saver}) {
        const std::string out = scene + ".png";
        ASSERT_EQ(RunTool({MORVANE_RENDER, scene, "--size", "160x60", "--seconds", "0.3", "--seed", "3", out}, &output), 0)
            << output;
        if (scene == settingsFile) EXPECT_EQ(output.substr(0, output.find(out)), said.empty() ? "" : said[0]);
      }
      Pixels fromSettings, fromSaver;
      ASSERT_TRUE(ReadPng(settingsFile + ".png", &fromSettings));
      ASSERT_TRUE(ReadPng(saver + ".png", &fromSaver));
      EXPECT_EQ(FirstDifference(fromSaver, fromSettings), "");
      size_t coloured = 0;
      for (uint32_t colour : fromSettings.colours) coloured += colour == 0x00401810;
      EXPECT_EQ(coloured == fromSettings.colours.size(), cut) << "the background colour alone, only when left out";
    }
  }
}

}  // namespace
