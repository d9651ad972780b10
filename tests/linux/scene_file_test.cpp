// What the Linux programs take as a scene: packaged savers, the designer's settings files with
// the names it writes, and nothing else.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "engine.h"
#include "host_soft.h"
#include "picture_fixtures.h"
#include "scene_art.h"
#include "scene_file.h"
#include "surface_soft.h"

namespace {

class SceneFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/morvane-scene-XXXXXX";
    dir = mkdtemp(pattern);
  }
  void TearDown() override { ASSERT_EQ(std::system(("rm -rf '" + dir + "'").c_str()), 0); }
  void Write(const std::string& name, const std::string& bytes) {
    FILE* out = std::fopen((dir + "/" + name).c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
  }
  std::string dir;
};

TEST_F(SceneFiles, RecognisesPackagesAndSettingsAndRefusesTheRest) {
  std::string saver(49152, '\0');
  saver[0] = 'M';
  saver[1] = 'Z';
  Write("whole.scr", saver + std::string(20, '\0') + "T");
  Write("image-only.scr", saver.substr(0, 40000));
  Write("MORVANE.INI", "; comment\r\n[Initial]\r\nTimer1=40\r\n");
  Write("other.ini", "[Fonts]\nsize=3\n");
  Write("empty", "");
  Write("picture.bmp", "BM" + std::string(100, '\x01'));
  struct Case {
    const char* name;
    bool ok;
    SceneFileKind kind;
  } cases[] = {
      {"whole.scr", true, PackagedSaver}, {"MORVANE.INI", true, SettingsFile}, {"image-only.scr", false, PackagedSaver},
      {"other.ini", false, PackagedSaver}, {"empty", false, PackagedSaver},    {"picture.bmp", false, PackagedSaver},
      {"missing", false, PackagedSaver},
  };
  for (const Case& c : cases) {
    SceneFile file;
    std::string problem;
    ASSERT_EQ(ReadSceneFile((dir + "/" + c.name).c_str(), &file, &problem), c.ok) << c.name << ": " << problem;
    if (c.ok) {
      EXPECT_EQ(file.kind, c.kind) << c.name;
    } else {
      EXPECT_NE(problem.find(c.name), std::string::npos) << problem;
    }
  }
  SceneFile file;
  std::string problem;
  ASSERT_TRUE(ReadSceneFile((dir + "/whole.scr").c_str(), &file, &problem));
  EXPECT_NE(PackageDamage(file).find("damaged at byte 49173"), std::string::npos) << PackageDamage(file);
}

// The sample scene's settings play with every picture and the wave they name (that they are the
// pictures a package of them holds is the settings source's own test); here the file's folder
// and the wave read into memory must serve them.
TEST_F(SceneFiles, SettingsFilePlaysWithItsPictures) {
  ASSERT_TRUE(WriteDemoScene(dir));
  // Named as the designer writes a relative name on Windows.
  ASSERT_EQ(mkdir((dir + "/waves").c_str(), 0755), 0);
  ASSERT_EQ(rename((dir + "/chord.wav").c_str(), (dir + "/waves/chord.wav").c_str()), 0);
  std::string settings;
  {
    FILE* in = std::fopen((dir + "/MORVANE.INI").c_str(), "rb");
    ASSERT_NE(in, nullptr);
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, in)) > 0) settings.append(chunk, got);
    std::fclose(in);
  }
  const size_t at = settings.find("Sound=chord.wav");
  ASSERT_NE(at, std::string::npos);
  settings.replace(at, 15, "Sound=waves\\chord.wav");
  Write("MORVANE.INI", settings);
  SceneFile file;
  std::string problem;
  ASSERT_TRUE(ReadSceneFile((dir + "/MORVANE.INI").c_str(), &file, &problem)) << problem;
  softHost = SoftHost();
  LoadScene(OpenSceneFileSource(&file), SceneGeometry{320, 240, 0, 0, 320, 240}, 3);
  ASSERT_GT(scene.characterCount, 0);
  for (int i = 0; i < scene.characterCount; ++i)
    for (int f = 0; f < scene.characters[i].frameCount; ++f)
      EXPECT_NE(scene.characters[i].frames[f].sprite, nullptr) << "character " << i << " frame " << f;
  EXPECT_EQ(softHost.soundStarts, 1);
  EXPECT_GT(softHost.soundSize, 44);
  EXPECT_EQ(softHost.soundData, file.sound.data());
  ReleaseScene();
}

TEST_F(SceneFiles, SettingsFilePlaysPngGifAndJpegPictures) {
  // Screen-sized frames and wallpaper in the formats only the picture codecs read: without
  // them every frame would be left out.
  ASSERT_TRUE(WriteScreenPictureScene(dir + "/", 320, 240));
  SceneFile file;
  std::string problem;
  ASSERT_TRUE(ReadSceneFile((dir + "/playback.ini").c_str(), &file, &problem)) << problem;
  softHost = SoftHost();
  LoadScene(OpenSceneFileSource(&file), SceneGeometry{320, 240, 0, 0, 320, 240}, 3);
  ASSERT_GT(scene.characterCount, 0);
  int frames = 0;
  for (int i = 0; i < scene.characterCount; ++i)
    for (int f = 0; f < scene.characters[i].frameCount; ++f, ++frames)
      EXPECT_NE(scene.characters[i].frames[f].sprite, nullptr) << "character " << i << " frame " << f;
  EXPECT_GE(frames, 3) << "a PNG, a GIF and a JPEG frame";
  ReleaseScene();
}

}  // namespace
