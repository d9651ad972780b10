// The builder with pictures: an animated GIF gives its frames from its slot on, up to a
// character's ten; a picture's frames are 24-bit records of its size; a damaged picture is
// refused with its name and reason while the build goes on; every such case is reported.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "build_test_support.h"
#include "byte_order.h"
#include "library_picture_codec.h"
#include "package_builder.h"
#include "package_reader.h"
#include "picture_test_support.h"
#include "stdio_build_files.h"
#include "walk_cases.h"

namespace {

// Builds the scene from the picture fixtures with Debian's decoders into output/out.scr; gives
// the build's status and its report lines.
char BuildWithLibraries(TableSettings& settings, ScratchFolder& output, std::vector<std::string>* lines) {
  WriteFileBytes(output.Path("player.scr"), std::vector<uint8_t>(kPlayerImageSize, 0x5A));
  StdioBuildFiles files;
  std::string playerPath = output.Path("player.scr");
  TrailingPlayerImage player(&files, playerPath.c_str());
  LibraryPictureCodec codecs;
  OpenLibraryPictureCodec(&codecs);
  OutcomeRecorder reports = MakeOutcomeRecorder();
  BuildSources sources = {&settings, &player, &files, PictureFixtures().c_str(), &reports.base, &codecs.base, false};
  char status = kBuildSucceeded;
  BuildPackagedSaver(sources, output.Path("out.scr").c_str(), &status);
  *lines = OutcomeLines("b", reports.heard);
  return status;
}

std::string Size(const FrameRecordView& frame) {
  return std::to_string(ReadI32LE(frame.header + 4)) + "x" + std::to_string(ReadI32LE(frame.header + 8)) + "x" +
         std::to_string(ReadU16LE(frame.header + 14));
}

TEST(PictureBuild, AnimationsFillTheCharacterFromTheirSlotAndDamagedPicturesAreRefused) {
  ScratchFolder output;
  std::vector<uint8_t> png = FixtureBytes("sprite-alpha.png");
  WriteFileBytes(PictureFixtures() + "cut.png", std::vector<uint8_t>(png.begin(), png.begin() + 300));
  TableSettings settings;
  settings.Set("Initial", "Crear", "1");
  settings.Set("Character", "A0", "animated.gif");
  settings.Set("Character", "A1", "still.gif");
  settings.Set("Character", "A2", "sprite-alpha.png");
  settings.Set("Character", "B0", "photo.jpg");
  settings.Set("Character", "B1", "anim12.gif");
  settings.Set("Character", "B2", "still.gif");
  settings.Set("Character", "C0", "cut.png");
  settings.Set("Character", "C1", "still.gif");
  settings.Set("BackGround", "BmpOpt1", "1");
  settings.Set("BackGround", "Bmp", "animated.gif");
  std::vector<std::string> lines;
  char status = BuildWithLibraries(settings, output, &lines);
  EXPECT_EQ(status, kBuildFailedStatus) << "the damaged picture is a failure";

  std::vector<uint8_t> bytes = ReadFileBytes(output.Path("out.scr"));
  ASSERT_GT(bytes.size(), kPlayerImageSize);
  ScenePackageView view;
  PackageError error = {0, nullptr};
  ASSERT_TRUE(ReadScenePackage(bytes.data() + kPlayerImageSize, bytes.size() - kPlayerImageSize, &view, &error))
      << error.reason;
  ASSERT_EQ(view.characterCount, 3u);

  std::vector<std::string> a, b;
  for (uint32_t f = 0; f < view.characters[0].frameCount; ++f) a.push_back(Size(view.characters[0].frames[f]));
  for (uint32_t f = 0; f < view.characters[1].frameCount; ++f) b.push_back(Size(view.characters[1].frames[f]));
  EXPECT_EQ(a, (std::vector<std::string>{"48x40x24", "48x40x24", "48x40x24", "48x40x24", "48x40x24", "31x27x24",
                                         "41x33x24"}));
  EXPECT_EQ(b, (std::vector<std::string>{"64x48x24", "16x16x24", "16x16x24", "16x16x24", "16x16x24", "16x16x24",
                                         "16x16x24", "16x16x24", "16x16x24", "16x16x24"}));
  // The refused picture ends nothing: the still GIF after it is the character's frame.
  ASSERT_EQ(view.characters[2].frameCount, 1u);
  EXPECT_EQ(Size(view.characters[2].frames[0]), "31x27x24");
  ASSERT_NE(view.background.wallpaper, 0);
  EXPECT_EQ(Size(view.wallpaper), "48x40x24") << "a GIF wallpaper is its first frame";
  for (uint32_t f = 1; f < 5; ++f)
    EXPECT_NE(std::vector<uint8_t>(view.characters[0].frames[f].bits, view.characters[0].frames[f].bits + view.characters[0].frames[f].bitsSize),
              std::vector<uint8_t>(view.characters[0].frames[f - 1].bits, view.characters[0].frames[f - 1].bits + view.characters[0].frames[f - 1].bitsSize))
        << "frame " << f + 1 << " of the animation is its own";

  EXPECT_EQ(lines,
            (std::vector<std::string>{
                "b: frame B1 anim12.gif: note: the picture has more frames than the character has room for; "
                "9 of them are used\n",
                "b: frame B2 still.gif: left out: the pictures before already give the character its 10 frames\n",
                "b: frame C0 cut.png: left out: the file cannot be read (PNG file ends early)\n"}));
}

// GIFs of no frame, of ten thousand, cut short and damaged: each is named with what is wrong,
// the frames that could be read are kept, and a GIF that gives nothing fails the build.
TEST(PictureBuild, GifsOfNoFramesManyFramesAndDamagedDataAreNamedWithTheirFault) {
  ScratchFolder output;
  std::vector<uint8_t> many = FixtureBytes("frames10000.gif");
  WriteFileBytes(PictureFixtures() + "cut-many.gif", std::vector<uint8_t>(many.begin(), many.begin() + 150));
  std::vector<uint8_t> lzw = FixtureBytes("still.gif");
  for (size_t at = 58; at < 64; ++at) lzw[at] = 0xFF;
  WriteFileBytes(PictureFixtures() + "bad-lzw.gif", lzw);
  std::vector<uint8_t> codeSize = FixtureBytes("disposals.gif");
  codeSize[74] = 0x0F;  // the first frame's LZW code size
  WriteFileBytes(PictureFixtures() + "bad-code-size.gif", codeSize);
  TableSettings settings;
  settings.Set("Character", "A0", "empty.gif");
  settings.Set("Character", "B0", "frames10000.gif");
  settings.Set("Character", "C0", "cut-many.gif");
  settings.Set("Character", "D0", "bad-lzw.gif");
  settings.Set("Character", "E0", "bad-code-size.gif");
  std::vector<std::string> lines;
  char status = BuildWithLibraries(settings, output, &lines);
  EXPECT_EQ(status, kBuildFailedStatus);

  std::vector<uint8_t> bytes = ReadFileBytes(output.Path("out.scr"));
  ASSERT_GT(bytes.size(), kPlayerImageSize);
  ScenePackageView view;
  PackageError error = {0, nullptr};
  ASSERT_TRUE(ReadScenePackage(bytes.data() + kPlayerImageSize, bytes.size() - kPlayerImageSize, &view, &error))
      << error.reason;
  ASSERT_EQ(view.characterCount, 5u);
  std::vector<uint32_t> counts;
  for (uint32_t c = 0; c < view.characterCount; ++c) counts.push_back(view.characters[c].frameCount);
  EXPECT_EQ(counts, (std::vector<uint32_t>{0, 10, 4, 0, 0}));
  EXPECT_EQ(lines,
            (std::vector<std::string>{
                "b: frame A0 empty.gif: left out: the file cannot be read (the picture holds no image)\n",
                "b: frame B0 frames10000.gif: note: the picture has more frames than the character has room for; "
                "10 of them are used\n",
                "b: frame C0 cut-many.gif: note: frames from 5 on cannot be read (GIF data ends early); the frames "
                "before are kept\n",
                "b: frame D0 bad-lzw.gif: left out: the file cannot be read (GIF image data is damaged)\n",
                "b: frame E0 bad-code-size.gif: left out: the file cannot be read (GIF image data is damaged)\n"}));
}

}  // namespace
