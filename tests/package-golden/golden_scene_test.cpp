// The sample scene packaged on this platform, with this platform's settings store, must give
// the committed bytes: the Linux tool and the Windows programs write the same package.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "package_builder.h"
#include "package_reader.h"
#include "package_records.h"
#include "stdio_build_files.h"

#ifdef _WIN32
#include <windows.h>

#include "windows_profile_store.h"
#else
#include <unistd.h>

#include "profile_file_store.h"
#endif

namespace {

struct BlankPlayer : PlayerImageSource {
  BlankPlayer() : PlayerImageSource{Image} { std::memset(image, 0x5A, kPlayerImageSize); }
  static const uint8_t* Image(PlayerImageSource* source, const char**) {
    return static_cast<BlankPlayer*>(source)->image;
  }
  uint8_t image[kPlayerImageSize];
};

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::vector<uint8_t> bytes;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  int c;
  while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
  std::fclose(f);
  return bytes;
}

std::string OutputPath() {
#ifdef _WIN32
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + "morvane-golden.scr";
#else
  return "/tmp/morvane-golden-" + std::to_string(getpid()) + ".scr";
#endif
}

TEST(GoldenScene, PackagesToTheCommittedBytes) {
  const std::string folder = MORVANE_GOLDEN_SCENE;
#ifdef _WIN32
  const char separator = '\\';
  std::string settingsPath = folder + "\\MORVANE.INI";
  WindowsProfileStore settings(settingsPath.c_str());
#else
  const char separator = '/';
  std::string settingsPath = folder + "/MORVANE.INI";
  ProfileFileStore settings(settingsPath.c_str());
#endif
  StdioBuildFiles files;
  BlankPlayer player;
  BuildSources sources = {&settings, &player, &files, folder.c_str(), nullptr, nullptr};
  std::string output = OutputPath();
  char status = kBuildSucceeded;
  BuildPackagedSaver(sources, output.c_str(), &status);
  EXPECT_EQ(status, kBuildSucceeded);

  std::vector<uint8_t> built = ReadAll(output);
  std::remove(output.c_str());
  std::vector<uint8_t> golden = ReadAll(folder + separator + "scene.pkg");
  ASSERT_FALSE(golden.empty());
  ASSERT_EQ(built.size(), kPlayerImageSize + golden.size());
  EXPECT_TRUE(std::equal(golden.begin(), golden.end(), built.begin() + kPlayerImageSize));

  // What the scene holds, so that a wrong golden file cannot pass unnoticed.
  static ScenePackageView view;
  PackageError error = {0, nullptr};
  ASSERT_TRUE(ReadScenePackage(golden.data(), golden.size(), &view, &error)) << error.reason;
  EXPECT_EQ(view.memo[2].length, 11u);  // "quoted line" without its quotes
  EXPECT_EQ(view.timing.redrawPeriod, 40);
  ASSERT_EQ(view.characterCount, 2u);  // A with slots 0-2, C with slot 0; D is never visible
  EXPECT_EQ(view.characters[0].frameCount, 3u);
  EXPECT_EQ(view.characters[0].motion.speedX, -12);
  EXPECT_EQ(view.characters[1].frameCount, 1u);
  EXPECT_EQ(view.characters[1].motion.speedY, 5);
  EXPECT_EQ(view.characters[1].motion.frameStep, -1);
  EXPECT_EQ(view.characters[1].motion.visibleRate, 7);
  EXPECT_EQ(view.background.wallpaper, 1);
  EXPECT_EQ(view.soundSize, 44u);
}

}  // namespace
