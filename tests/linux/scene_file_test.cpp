// What the Linux programs take as a scene: packaged savers, the designer's settings files with
// the names it writes, and nothing else.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "build_test_support.h"
#include "engine.h"
#include "host_soft.h"
#include "picture_fixtures.h"
#include "scene_art.h"
#include "scene_file.h"
#include "surface_soft.h"

namespace {

class SceneFiles : public ::testing::Test {
 protected:
  void Write(const std::string& name, const std::string& bytes) {
    WriteFileBytes(folder.Path(name), std::vector<uint8_t>(bytes.begin(), bytes.end()));
  }
  // Loads the settings file as the programs do; every frame it names must have its picture.
  // Returns the number of frames.
  int LoadEveryFrame(const std::string& name, SceneFile* file) {
    std::string problem;
    if (!ReadSceneFile(folder.Path(name).c_str(), file, &problem)) {
      ADD_FAILURE() << problem;
      return 0;
    }
    OpenSoftHost(&host);
    LoadScene(&scene, &host.base, OpenSceneFileSource(file), SceneGeometry{320, 240, 0, 0, 320, 240, 0, 0, 0, {}}, 3);
    EXPECT_GT(scene.characterCount, 0);
    int frames = 0;
    for (int i = 0; i < scene.characterCount; ++i)
      for (int f = 0; f < scene.characters[i].frameCount; ++f, ++frames)
        EXPECT_NE(scene.characters[i].frames[f].sprite, nullptr) << "character " << i << " frame " << f;
    return frames;
  }
  ScratchFolder folder;
  SoftHost host;
  SceneModel scene = {};
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
    ASSERT_EQ(ReadSceneFile(folder.Path(c.name).c_str(), &file, &problem), c.ok) << c.name << ": " << problem;
    if (c.ok) {
      EXPECT_EQ(file.kind, c.kind) << c.name;
    } else {
      EXPECT_NE(problem.find(c.name), std::string::npos) << problem;
    }
  }
  SceneFile file;
  std::string problem;
  ASSERT_TRUE(ReadSceneFile(folder.Path("whole.scr").c_str(), &file, &problem));
  EXPECT_NE(PackageDamage(file).find("damaged at byte 49173"), std::string::npos) << PackageDamage(file);
}

// A packaged saver's sound plays from the mapped file itself, not from a copy, and the scene
// must not free it at its end; the package read through the file gives what the package holds.
TEST_F(SceneFiles, APackagedSaversSoundPlaysInPlace) {
  const std::vector<uint8_t> package = ReadFileBytes(MORVANE_GOLDEN_PACKAGE);
  ASSERT_FALSE(package.empty());
  std::vector<uint8_t> saver(49152, 0);
  saver[0] = 'M';
  saver[1] = 'Z';
  saver.insert(saver.end(), package.begin(), package.end());
  WriteFileBytes(folder.Path("sound.scr"), saver);
  SceneFile file;
  std::string problem;
  ASSERT_TRUE(ReadSceneFile(folder.Path("sound.scr").c_str(), &file, &problem)) << problem;
  for (int load = 0; load < 2; ++load) {
    OpenSoftHost(&host);
    LoadScene(&scene, &host.base, OpenSceneFileSource(&file), SceneGeometry{320, 240, 0, 0, 320, 240, 0, 0, 0, {}}, 3);
    ASSERT_GT(scene.soundSize, 0);
    EXPECT_TRUE(scene.soundInPlace);
    EXPECT_EQ(scene.soundData, file.saver.bytes + saver.size() - scene.soundSize);
    EXPECT_EQ(std::vector<uint8_t>(scene.soundData, scene.soundData + 4), std::vector<uint8_t>({'R', 'I', 'F', 'F'}));
    EXPECT_GT(scene.characterCount, 0);
    ReleaseScene(&scene);
  }
}

// The sample scene's settings play with every picture and the wave they name (that they are the
// pictures a package of them holds is the settings source's own test); here the file's folder
// and the wave read into memory must serve them.
// A saver signed after it was built (morvane-pack --sign): the package ends where the
// signature's alignment begins, and is whole. Needs the 64-bit player image and osslsigncode.
TEST_F(SceneFiles, ASignedSaversPackageEndsBeforeItsSignature) {
  const std::vector<uint8_t> player = ReadFileBytes(MORVANE_WIN64_PLAYER);
  if (player.size() != 49152) GTEST_SKIP() << "no 64-bit player image at " << MORVANE_WIN64_PLAYER;
  const std::vector<uint8_t> package = ReadFileBytes(MORVANE_GOLDEN_PACKAGE);
  ASSERT_FALSE(package.empty());
  std::vector<uint8_t> saver = player;
  saver.insert(saver.end(), package.begin(), package.end());
  WriteFileBytes(folder.Path("plain.scr"), saver);
  const std::string sign = "cd '" + folder.path() + "' && openssl req -x509 -newkey rsa:2048 -nodes -days 2 "
      "-subj '/CN=Morvane test' -keyout key.pem -out cert.pem 2>/dev/null && openssl pkcs12 -export -inkey key.pem "
      "-in cert.pem -passout pass: -out cert.pfx && osslsigncode sign -pkcs12 cert.pfx -in plain.scr -out signed.scr >/dev/null";
  ASSERT_EQ(std::system(sign.c_str()), 0);
  ASSERT_GT(ReadFileBytes(folder.Path("signed.scr")).size(), saver.size());
  SceneFile file;
  std::string problem;
  ASSERT_TRUE(ReadSceneFile(folder.Path("signed.scr").c_str(), &file, &problem)) << problem;
  EXPECT_EQ(std::vector<uint8_t>(file.package, file.package + file.packageSize), package);
  EXPECT_EQ(PackageDamage(file), "");
}

TEST_F(SceneFiles, SettingsFilePlaysWithItsPictures) {
  ASSERT_TRUE(WriteDemoScene(folder.path()));
  // Named as the designer writes a relative name on Windows.
  ASSERT_EQ(mkdir(folder.Path("waves").c_str(), 0755), 0);
  ASSERT_EQ(rename(folder.Path("chord.wav").c_str(), folder.Path("waves/chord.wav").c_str()), 0);
  const std::vector<uint8_t> bytes = ReadFileBytes(folder.Path("MORVANE.INI"));
  std::string settings(bytes.begin(), bytes.end());
  const size_t at = settings.find("Sound=chord.wav");
  ASSERT_NE(at, std::string::npos);
  settings.replace(at, 15, "Sound=waves\\chord.wav");
  Write("MORVANE.INI", settings);
  SceneFile file;
  LoadEveryFrame("MORVANE.INI", &file);
  EXPECT_EQ(host.soundStarts, 1);
  EXPECT_GT(host.soundSize, 44);
  EXPECT_EQ(host.soundData, file.wave->bytes) << "played from the mapped wave";
  ReleaseScene(&scene);
}

TEST_F(SceneFiles, SettingsFilePlaysPngGifAndJpegPictures) {
  // Screen-sized frames and wallpaper in the formats only the picture codecs read: without
  // them every frame would be left out.
  ASSERT_TRUE(WriteScreenPictureScene(folder.path() + "/", 320, 240));
  SceneFile file;
  EXPECT_GE(LoadEveryFrame("playback.ini", &file), 3) << "a PNG, a GIF and a JPEG frame";
  ReleaseScene(&scene);
}

}  // namespace
