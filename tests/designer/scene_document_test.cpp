// Scene files: paths kept relative to the scene's folder and resolved again wherever the folder
// went, names in a double-byte code page, and files that are no scene.
#include "scene_document.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "build_test_support.h"
#include "package_builder.h"
#include "package_records.h"
#include "profile_text_store.h"
#include "stdio_build_files.h"

namespace {

// Shift-JIS: 0x95 0x5C is one character whose second byte is "\".
bool IsShiftJisLead(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

const PathRules kWindows = {WindowsPaths, IsShiftJisLead};
const PathRules kPosix = {PosixPaths, nullptr};

bool FileExists(const char* path) {
  struct stat info;
  return stat(path, &info) == 0;
}

TEST(SceneFilePaths, NamesInTheFolderOrBelowBecomeRelativeAndOthersStayAsTheyAre) {
  struct Case {
    const char* folder;
    const char* path;
    const PathRules* rules;
    const char* kept;
  } cases[] = {
      {"C:\\Scenes\\Night\\", "C:\\Scenes\\Night\\cat.bmp", &kWindows, "cat.bmp"},
      {"C:\\Scenes\\Night", "c:/scenes/NIGHT/pics\\cat.png", &kWindows, "pics\\cat.png"},
      {"C:\\Scenes\\Night\\", "C:\\Scenes\\Nightfall\\cat.bmp", &kWindows, "C:\\Scenes\\Nightfall\\cat.bmp"},
      {"C:\\Scenes\\Night", "C:\\Scenes\\Nightfall\\cat.bmp", &kWindows, "C:\\Scenes\\Nightfall\\cat.bmp"},
      {"C:\\Scenes\\Night\\", "C:\\Scenes\\Night\\..\\cat.bmp", &kWindows, "C:\\Scenes\\Night\\..\\cat.bmp"},
      {"C:\\Scenes\\Night\\", "D:\\cat.bmp", &kWindows, "D:\\cat.bmp"},
      {"C:\\Scenes\\Night\\", "C:\\Scenes\\Night\\", &kWindows, "C:\\Scenes\\Night\\"},
      // The folder's second byte "\" is no separator, and a different second byte is another name.
      {"C:\\\x95\x5C\\", "C:\\\x95\x5C\\\x8E\x52.bmp", &kWindows, "\x8E\x52.bmp"},
      {"C:\\\x95\x5C\\", "C:\\\x95\x5D\\\x8E\x52.bmp", &kWindows, "C:\\\x95\x5D\\\x8E\x52.bmp"},
      {"C:\\\x95", "C:\\\x95\x5C\\cat.bmp", &kWindows, "C:\\\x95\x5C\\cat.bmp"},
      {"/home/ann/scene/", "/home/ann/scene/pics/cat.png", &kPosix, "pics/cat.png"},
      {"/home/ann/scene", "/home/ann/Scene/cat.png", &kPosix, "/home/ann/Scene/cat.png"},
  };
  for (const Case& c : cases) EXPECT_EQ(PathInFolder(c.folder, c.path, *c.rules), c.kept) << c.path;
  EXPECT_EQ(FolderOfFile("C:\\\x95\x5C\\night.morvane", kWindows), "C:\\\x95\x5C\\");
  EXPECT_EQ(FolderOfFile("night.morvane", kWindows), "");
}

TEST(SceneFilePaths, SaveAsRebasesEveryPathAndOpeningFromTheMovedFolderFindsThePictures) {
  ScratchFolder scratch;
  const std::string first = scratch.Path("first"), moved = scratch.Path("moved");
  ASSERT_EQ(mkdir(first.c_str(), 0755), 0);
  ASSERT_EQ(mkdir((first + "/pics").c_str(), 0755), 0);
  const std::vector<uint8_t> bmp = MakeBmp(4, 4, 24, 0, 0, 7);
  WriteFileBytes(first + "/pics/cat.bmp", bmp);
  WriteFileBytes(first + "/wall.bmp", bmp);
  WriteFileBytes(scratch.Path("outside.wav"), {1, 2, 3});

  // The store as the pages leave it: one name relative to the old folder, others absolute.
  ProfileTextStore working;
  WriteSetting(&working, kFramePath, "pics/cat.bmp", 2, 0);
  WriteSetting(&working, kWallpaperPath, (first + "/wall.bmp").c_str());
  WriteSetting(&working, kSoundPath, scratch.Path("outside.wav").c_str());
  WriteSetting(&working, kMemo1, "\x93\xFA\x96\x7B\x8C\xEA");  // Shift-JIS bytes stay as they are
  WriteSettingNumber(&working, kSpeedX, -45, 19);

  const std::string text = SceneTextOf(&working, (first + "/").c_str(), (first + "/").c_str(), kPosix);
  const std::string scene = first + "/night" + kSceneFileExtension;
  ASSERT_TRUE(WriteSceneFileText(scene.c_str(), text, nullptr));
  ASSERT_EQ(std::rename(first.c_str(), moved.c_str()), 0);

  std::string read, detail;
  ASSERT_EQ(ReadSceneFileText((moved + "/night.morvane").c_str(), &read, &detail), SceneFileFine);
  ProfileTextStore opened(read), saved(text);
  EXPECT_TRUE(SameScene(&opened, &saved)) << "the file holds what was saved";
  char value[kSettingBufferSize];
  ReadSetting(&opened, kWallpaperPath, value);
  EXPECT_STREQ(value, "wall.bmp");
  ReadSetting(&opened, kSoundPath, value);
  EXPECT_EQ(value, scratch.Path("outside.wav")) << "a file outside the folder keeps its whole name";
  ReadSetting(&opened, kMemo1, value);
  EXPECT_STREQ(value, "\x93\xFA\x96\x7B\x8C\xEA");
  EXPECT_EQ(ReadSettingNumber(&opened, kSpeedX, 19), -45);
  EXPECT_EQ(ReadSettingNumber(&opened, kSpeedY, 19), 10) << "an absent key keeps its default";

  // Nothing is missing where the folder now is; a picture that went is listed, not fatal.
  EXPECT_TRUE(MissingSceneFiles(&opened, (moved + "/").c_str(), kPosix, FileExists).empty());
  ASSERT_EQ(std::remove((moved + "/pics/cat.bmp").c_str()), 0);
  const std::vector<MissingSceneFile> missing = MissingSceneFiles(&opened, (moved + "/").c_str(), kPosix, FileExists);
  ASSERT_EQ(missing.size(), 1u);
  EXPECT_EQ(missing[0].setting, kFramePath);
  EXPECT_EQ(missing[0].character * 10 + missing[0].slot, 20);
  EXPECT_EQ(missing[0].named, "pics/cat.bmp");

  // Saved again elsewhere, names in the old folder are written in full.
  ProfileTextStore elsewhere(SceneTextOf(&opened, (moved + "/").c_str(), "/nowhere/", kPosix));
  ReadSetting(&elsewhere, kWallpaperPath, value);
  EXPECT_EQ(value, moved + "/wall.bmp");
  EXPECT_FALSE(SameScene(&opened, &elsewhere));
}

TEST(SceneFileCheck, FilesThatAreNoSceneAreRefusedWithTheirReason) {
  struct Case {
    std::string text;
    SceneFileProblem problem;
    const char* detail;
  } cases[] = {
      {"", SceneFileEmpty, ""},
      {"\r\n; only a comment\r\n[Initial]\r\n", SceneFileEmpty, ""},
      {std::string("MZ\x90\0\x03\0\0\0", 8), SceneFileNotText, ""},
      {"[Initial]\nTimer2=5\n\x1A", SceneFileNotText, ""},
      {"[Initial]\nTimer2=5\n[Fonts]\nArial=1\n", SceneFileForeignSection, "Fonts"},
      {"; a comment\n[initial]\nTimer2=5\n[BACKGROUND]\r\nBmp=\x95\x5C.bmp\r\n", SceneFileFine, ""},
  };
  for (const Case& c : cases) {
    std::string detail;
    EXPECT_EQ(CheckSceneText(c.text.data(), c.text.size(), &detail), c.problem) << c.text;
    EXPECT_EQ(detail, c.detail);
  }

  ScratchFolder scratch;
  std::string text, detail;
  // Fifty megabytes of well-formed settings text is still no scene; the read stops early.
  const std::string large = scratch.Path("large.morvane");
  {
    std::string block;
    while (block.size() < (1u << 16)) block += "[Initial]\r\nTimer2=5\r\n";
    FILE* file = std::fopen(large.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    for (size_t written = 0; written < (50u << 20); written += block.size()) std::fwrite(block.data(), 1, block.size(), file);
    std::fclose(file);
  }
  EXPECT_EQ(ReadSceneFileText(large.c_str(), &text, &detail), SceneFileTooLarge);
  EXPECT_TRUE(text.empty());
  EXPECT_EQ(ReadSceneFileText(scratch.Path("absent.morvane").c_str(), &text, &detail), SceneFileNotRead);
  EXPECT_EQ(ReadSceneFileText(scratch.path().c_str(), &text, &detail), SceneFileNotRead) << "a folder";
}

TEST(SceneFileSize, TheMeasuredSizeIsTheSizeCreateWrites) {
  ScratchFolder scratch;
  WriteFileBytes(scratch.Path("player.scr"), std::vector<uint8_t>(kPlayerImageSize, 0x5A));
  WriteFileBytes(scratch.Path("a.bmp"), MakeBmp(9, 5, 8, 0, 256, 1));
  WriteFileBytes(scratch.Path("b.bmp"), MakeBmp(30, 20, 24, 0, 0, 2));
  std::vector<uint8_t> wave(12345, 9);
  // A PCM wave of 8-bit mono at 8 kHz: stored as it is.
  std::copy_n("RIFF\x31\x30\0\0WAVEfmt \x10\0\0\0\1\0\1\0\x40\x1f\0\0\x40\x1f\0\0\1\0\x08\0", 36, wave.begin());
  WriteFileBytes(scratch.Path("s.wav"), wave);
  ProfileTextStore scene;
  WriteSetting(&scene, kFramePath, "a.bmp", 0, 0);
  WriteSetting(&scene, kFramePath, "b.bmp", 0, 1);
  WriteSetting(&scene, kFramePath, "missing.bmp", 4, 0);
  WriteSetting(&scene, kWallpaperPath, "b.bmp");
  WriteSettingNumber(&scene, kWallpaperShown, 1);
  WriteSetting(&scene, kSoundPath, "s.wav");
  WriteSettingNumber(&scene, kSoundOn, 1);
  WriteSetting(&scene, kMemo2, "a comment");

  StdioBuildFiles files;
  const std::string player = scratch.Path("player.scr");
  TrailingPlayerImage image(&files, player.c_str());
  BuildSources sources = {&scene, &image, &files, scratch.path().c_str(), nullptr, nullptr, false};
  const uint64_t measured = MeasurePackagedSaver(sources);
  char status = kBuildSucceeded;
  ASSERT_TRUE(BuildPackagedSaver(sources, scratch.Path("out.scr").c_str(), &status));
  EXPECT_EQ(measured, ReadFileBytes(scratch.Path("out.scr")).size());
  EXPECT_GT(measured, kPlayerImageSize + 12345u);
}

}  // namespace
