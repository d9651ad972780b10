// morvane-pack as a user runs it: arguments, exit status, messages and the file it writes.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "build_test_support.h"
#include "package_reader.h"
#include "package_builder.h"
#include "package_records.h"
#include "player_image_source.h"
#include "stdio_build_files.h"
#include "walk_cases.h"

namespace {

struct BlankImage : PlayerImageSource {
  BlankImage() : PlayerImageSource{Image} {}
  static const uint8_t* Image(PlayerImageSource* source, const char**) {
    return static_cast<BlankImage*>(source)->image;
  }
  uint8_t image[kPlayerImageSize] = {};
};

struct ToolRun {
  int exitCode;
  std::string out;  // stdout and stderr together
};

ToolRun Pack(const std::string& arguments) {
  std::string command = std::string(MORVANE_PACK) + " " + arguments + " 2>&1";
  ToolRun run = {-1, ""};
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof(chunk), pipe)) > 0) run.out.append(chunk, got);
  int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

class PackToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFileBytes(folder.Path("player.scr"), std::vector<uint8_t>(kPlayerImageSize, 0xCC));
    player = "--player '" + folder.Path("player.scr") + "' ";
  }
  void Settings(const std::string& text) {
    WriteFileBytes(folder.Path("MORVANE.INI"), std::vector<uint8_t>(text.begin(), text.end()));
  }
  std::string Quoted(const std::string& name) const { return "'" + folder.Path(name) + "'"; }
  ScenePackageView Read(const std::string& name) {
    bytes = ReadFileBytes(folder.Path(name));
    ScenePackageView view = {};
    PackageError error = {0, nullptr};
    EXPECT_GE(bytes.size(), kPlayerImageSize);
    if (bytes.size() >= kPlayerImageSize) {
      EXPECT_TRUE(ReadScenePackage(bytes.data() + kPlayerImageSize, bytes.size() - kPlayerImageSize, &view, &error))
          << error.reason;
    }
    return view;
  }

  ScratchFolder folder;
  std::string player;
  std::vector<uint8_t> bytes;
};

TEST_F(PackToolTest, UsageErrorsExitWith2AndWriteNothing) {
  const char* lines[] = {"", "--settings", "--frobnicate out.scr", "a.scr b.scr", "--player x --player y out.scr",
                         "--base"};
  for (const char* line : lines) {
    ToolRun run = Pack(line);
    EXPECT_EQ(run.exitCode, 2) << line;
    EXPECT_NE(run.out.find("Usage: morvane-pack"), std::string::npos) << line;
  }
  ToolRun help = Pack("--help");
  EXPECT_EQ(help.exitCode, 0);
  for (const char* word : {"--settings", "--player", "--base", "--strict", "49152", "Exit status"})
    EXPECT_NE(help.out.find(word), std::string::npos) << word;
}

TEST_F(PackToolTest, PlayerImageOfAnotherSizeIsRefusedBeforeWriting) {
  for (size_t size : {size_t(0), size_t(49151), size_t(49153)}) {
    WriteFileBytes(folder.Path("odd.scr"), std::vector<uint8_t>(size, 1));
    ToolRun run = Pack("--settings " + Quoted("MORVANE.INI") + " --player " + Quoted("odd.scr") + " " + Quoted("out.scr"));
    EXPECT_EQ(run.exitCode, 1) << size;
    EXPECT_NE(run.out.find("49152"), std::string::npos) << run.out;
    EXPECT_TRUE(ReadFileBytes(folder.Path("out.scr")).empty()) << size;
  }
}

TEST_F(PackToolTest, MissingSettingsFileBuildsTheDefaultScene) {
  ToolRun run = Pack(player + "--settings " + Quoted("none.ini") + " " + Quoted("out.scr"));
  EXPECT_EQ(run.exitCode, 0) << run.out;
  Read("out.scr");
  EXPECT_EQ(bytes.size(), 49212u);
  EXPECT_EQ(bytes[0], 0xCC);
}

TEST_F(PackToolTest, RelativeNamesFollowTheSettingsFolderUnlessBaseSaysOtherwise) {
  ScratchFolder elsewhere;
  WriteFileBytes(folder.Path("a.bmp"), MakeBmp(5, 4, 24, 0, 0, 3));
  Settings("[Character]\nA0=a.bmp\n");
  ToolRun run = Pack(player + "--settings " + Quoted("MORVANE.INI") + " " + Quoted("out.scr"));
  EXPECT_EQ(run.exitCode, 0) << run.out;
  EXPECT_EQ(Read("out.scr").characterCount, 1u);

  run = Pack(player + "--settings " + Quoted("MORVANE.INI") + " --base '" + elsewhere.path() + "' " + Quoted("out.scr"));
  EXPECT_EQ(run.exitCode, 0) << run.out;
  EXPECT_EQ(Read("out.scr").characterCount, 0u);
  EXPECT_NE(run.out.find("a.bmp"), std::string::npos) << run.out;
}

// A file named as a scene file must be one; settings files of any other name are read as ever.
TEST_F(PackToolTest, AFileNamedAsASceneFileThatIsNoneIsRefusedAndOneThatIsBuilds) {
  WriteFileBytes(folder.Path("a.bmp"), MakeBmp(5, 4, 24, 0, 0, 3));
  const struct {
    std::string text;
    const char* said;
  } cases[] = {{"", "holds no settings"},
               {std::string("\x89PNG\r\n\x1a\n\0\0", 10), "not text"},
               {"[Initial]\nTimer2=4\n[Fonts]\nA=1\n", "[Fonts]"}};
  for (const auto& c : cases) {
    WriteFileBytes(folder.Path("bad.morvane"), std::vector<uint8_t>(c.text.begin(), c.text.end()));
    ToolRun run = Pack(player + "--settings " + Quoted("bad.morvane") + " " + Quoted("out.scr"));
    EXPECT_EQ(run.exitCode, 1) << c.said;
    EXPECT_NE(run.out.find(c.said), std::string::npos) << run.out;
    EXPECT_TRUE(ReadFileBytes(folder.Path("out.scr")).empty()) << c.said;
  }
  const std::string scene = "[Character]\r\nA0=a.bmp\r\n";
  WriteFileBytes(folder.Path("good.MORVANE"), std::vector<uint8_t>(scene.begin(), scene.end()));
  ToolRun run = Pack(player + "--settings " + Quoted("good.MORVANE") + " " + Quoted("out.scr"));
  EXPECT_EQ(run.exitCode, 0) << run.out;
  EXPECT_EQ(Read("out.scr").characterCount, 1u);
}

TEST_F(PackToolTest, EveryFileLeftOutIsNamedInTheWalksWordsAndStrictWritesNothing) {
  TableSettings scene;
  WriteLeftOutScene(folder, &scene);
  Settings(scene.ProfileText());
  // The lines the walk gives the builder in process are the lines the tool prints.
  OutcomeRecorder heard = MakeOutcomeRecorder();
  StdioBuildFiles files;
  BlankImage image;
  BuildSources sources = {&scene, &image, &files, folder.path().c_str(), &heard.base, nullptr, false};
  char status = kBuildSucceeded;
  ASSERT_TRUE(BuildPackagedSaver(sources, folder.Path("in-process.scr").c_str(), &status));
  std::string expected;
  for (const std::string& line : OutcomeLines("morvane-pack", heard.heard)) expected += line;

  const std::string command = player + "--settings " + Quoted("MORVANE.INI") + " ";
  ToolRun run = Pack(command + Quoted("out.scr"));
  EXPECT_EQ(run.exitCode, 0) << "the saver was written: " << run.out;
  EXPECT_EQ(run.out, expected);
  EXPECT_EQ(Read("out.scr").characterCount, 4u);

  // With --strict any file left out leaves nothing written, and the saver before stays.
  run = Pack("--strict " + command + Quoted("out.scr"));
  EXPECT_EQ(run.exitCode, 1) << run.out;
  EXPECT_EQ(run.out.rfind(expected, 0), 0u) << run.out;
  EXPECT_NE(run.out.find("nothing was written"), std::string::npos) << run.out;
  EXPECT_EQ(Read("out.scr").characterCount, 4u);
  run = Pack("--strict " + command + Quoted("strict.scr"));
  EXPECT_NE(access(folder.Path("strict.scr").c_str(), F_OK), 0) << "no saver at all";

  run = Pack(command + Quoted("missing/out.scr"));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.out.find("not written"), std::string::npos) << run.out;
}

TEST_F(PackToolTest, DesignerWrittenNamesResolveAndAWholeSceneSaysNothing) {
  ASSERT_EQ(system(("mkdir -p " + Quoted("frames")).c_str()), 0);
  WriteFileBytes(folder.Path("frames/cat.bmp"), MakeBmp(5, 4, 24, 0, 0, 3));
  Settings("[Character]\r\nA0=frames\\cat.bmp\r\nB0=C:\\pics\\dog.bmp\r\n");
  const std::string command = player + "--settings " + Quoted("MORVANE.INI") + " ";
  ToolRun run = Pack(command + Quoted("out.scr"));
  EXPECT_EQ(run.exitCode, 0) << run.out;
  EXPECT_EQ(Read("out.scr").characterCount, 1u) << "frames\\cat.bmp is the frames folder's cat.bmp";
  EXPECT_NE(run.out.find("frame B0 C:\\pics\\dog.bmp: left out: the name cannot be used (a Windows drive-letter"),
            std::string::npos)
      << run.out;

  Settings("[Character]\r\nA0=frames\\cat.bmp\r\n");
  run = Pack("--strict " + command + Quoted("taken.scr"));
  EXPECT_EQ(run.exitCode, 0) << run.out;
  EXPECT_EQ(run.out, "") << "nothing left out, nothing to say";
}

// A file system of its own, small enough to fill, mounted inside a scratch folder. Mounting
// needs root; where it is not allowed the tests that need it are skipped, saying why.
class SmallDisk {
 public:
  SmallDisk(const std::string& path, const char* size) : path_(path) {
    mkdir(path.c_str(), 0755);
    std::string options = std::string("size=") + size;
    mounted_ = mount("tmpfs", path.c_str(), "tmpfs", 0, options.c_str()) == 0;
    if (!mounted_) why_ = std::string("cannot mount a tmpfs here: ") + std::strerror(errno);
  }
  ~SmallDisk() {
    if (mounted_) umount2(path_.c_str(), MNT_DETACH);
  }
  bool mounted() const { return mounted_; }
  const std::string& why() const { return why_; }
  bool MakeReadOnly() { return mount(nullptr, path_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0; }

 private:
  std::string path_;
  bool mounted_;
  std::string why_;
};

std::set<std::string> FolderNames(const std::string& path) {
  std::set<std::string> names;
  DIR* folder = opendir(path.c_str());
  if (!folder) return names;
  while (dirent* entry = readdir(folder))
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) names.insert(entry->d_name);
  closedir(folder);
  return names;
}

TEST_F(PackToolTest, FullDiskAndReadOnlyFolderLeaveTheOldSaverWholeAndNoPartialFile) {
  SmallDisk disk(folder.Path("disk"), "64k");
  if (!disk.mounted()) GTEST_SKIP() << disk.why();
  // A 60 x 60 frame makes the package about 60 KiB, which fits the disk alone but not beside
  // the old saver.
  WriteFileBytes(folder.Path("a.bmp"), MakeBmp(60, 60, 24, 0, 0, 3));
  Settings("[Character]\nA0=a.bmp\n");
  std::vector<uint8_t> old(30000);
  for (size_t i = 0; i < old.size(); ++i) old[i] = static_cast<uint8_t>(i * 13);
  WriteFileBytes(folder.Path("disk/keep.scr"), old);
  const std::string args = player + "--settings " + Quoted("MORVANE.INI") + " ";

  for (const char* name : {"keep.scr", "new.scr"}) {
    ToolRun run = Pack(args + Quoted(std::string("disk/") + name));
    EXPECT_EQ(run.exitCode, 1) << name << ": " << run.out;
    EXPECT_NE(run.out.find(std::strerror(ENOSPC)), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("left as it was"), std::string::npos) << run.out;
    EXPECT_EQ(ReadFileBytes(folder.Path("disk/keep.scr")), old) << name;
    EXPECT_EQ(FolderNames(folder.Path("disk")), std::set<std::string>{"keep.scr"}) << name;
  }

  ASSERT_TRUE(disk.MakeReadOnly()) << std::strerror(errno);
  ToolRun run = Pack(args + Quoted("disk/keep.scr"));
  EXPECT_EQ(run.exitCode, 1) << run.out;
  EXPECT_NE(run.out.find(std::strerror(EROFS)), std::string::npos) << run.out;
  EXPECT_EQ(ReadFileBytes(folder.Path("disk/keep.scr")), old);
  EXPECT_EQ(FolderNames(folder.Path("disk")), std::set<std::string>{"keep.scr"});
}

TEST_F(PackToolTest, ReplacedSaverKeepsItsPermissionsAndItsLink) {
  WriteFileBytes(folder.Path("keep.scr"), std::vector<uint8_t>(100, 1));
  ASSERT_EQ(chmod(folder.Path("keep.scr").c_str(), 0640), 0);
  ASSERT_EQ(symlink("keep.scr", folder.Path("link.scr").c_str()), 0);
  ToolRun run = Pack(player + "--settings " + Quoted("none.ini") + " " + Quoted("link.scr"));
  EXPECT_EQ(run.exitCode, 0) << run.out;
  EXPECT_EQ(ReadFileBytes(folder.Path("keep.scr")).size(), 49212u);
  struct stat info;
  ASSERT_EQ(lstat(folder.Path("link.scr").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  ASSERT_EQ(stat(folder.Path("keep.scr").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(FolderNames(folder.path()), (std::set<std::string>{"keep.scr", "link.scr", "player.scr"}));
}

// Signing with a throw-away certificate made here: a signed saver that osslsigncode verifies and
// whose package is the unsigned one's, and every refusal (no such certificate or password file,
// a damaged certificate, the wrong password, no signer installed) exits 1, names the file and
// leaves the folder and an old saver of that name as they were. Needs a real player image.
TEST_F(PackToolTest, SignedSaverVerifiesAndEveryRefusalLeavesNothingNew) {
  const std::string realPlayer = MORVANE_WIN64_PLAYER;
  if (ReadFileBytes(realPlayer).size() != kPlayerImageSize) GTEST_SKIP() << "no 64-bit player image at " << realPlayer;
  const std::string make =
      "cd '" + folder.path() + "' && openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj '/CN=Morvane test' "
      "-keyout key.pem -out cert.pem 2>/dev/null && openssl pkcs12 -export -inkey key.pem -in cert.pem "
      "-passout pass:moon -out cert.pfx && printf 'moon\\n' > pass.txt && printf 'sun\\n' > wrong.txt && "
      "head -c 300 cert.pfx > damaged.pfx && rm key.pem";
  ASSERT_EQ(std::system(make.c_str()), 0);
  Settings("[Module]\nMemo1=Signed night\n[BackGround]\nColorR=32\n");
  const std::string args = "--player '" + realPlayer + "' --settings " + Quoted("MORVANE.INI") + " ";
  ToolRun plain = Pack(args + Quoted("plain.scr"));
  ASSERT_EQ(plain.exitCode, 0) << plain.out;

  ToolRun run = Pack(args + "--sign " + Quoted("cert.pfx") + " --password-file " + Quoted("pass.txt") + " " +
                     Quoted("signed.scr"));
  ASSERT_EQ(run.exitCode, 0) << run.out;
  const std::vector<uint8_t> unsignedBytes = ReadFileBytes(folder.Path("plain.scr"));
  const std::vector<uint8_t> signedBytes = ReadFileBytes(folder.Path("signed.scr"));
  ASSERT_GT(signedBytes.size(), unsignedBytes.size());
  EXPECT_TRUE(std::equal(unsignedBytes.begin() + kPlayerImageSize, unsignedBytes.end(), signedBytes.begin() + kPlayerImageSize))
      << "the scene package after offset 49152 is the unsigned one's";
  const std::string verify = "osslsigncode verify -CAfile " + Quoted("cert.pem") + " -in " + Quoted("signed.scr") +
                             " >/dev/null 2>&1";
  EXPECT_EQ(std::system(verify.c_str()), 0) << "osslsigncode does not verify the signed saver";

  WriteFileBytes(folder.Path("old.scr"), std::vector<uint8_t>(100, 7));
  const std::set<std::string> before = FolderNames(folder.path());
  const struct {
    std::string options, named, environment;
  } refusals[] = {
      {"--sign " + Quoted("none.pfx"), "certificate " + folder.Path("none.pfx"), ""},
      {"--sign " + Quoted("cert.pfx") + " --password-file " + Quoted("none.txt"), "password file " + folder.Path("none.txt"), ""},
      {"--sign " + Quoted("damaged.pfx") + " --password-file " + Quoted("pass.txt"), "certificate " + folder.Path("damaged.pfx"), ""},
      {"--sign " + Quoted("cert.pfx") + " --password-file " + Quoted("wrong.txt"), "certificate " + folder.Path("cert.pfx"), ""},
      {"--sign " + Quoted("cert.pfx"), "certificate " + folder.Path("cert.pfx"), ""},
      {"--sign " + Quoted("cert.pfx") + " --password-file " + Quoted("pass.txt"), "osslsigncode is not installed", "PATH=/nonexistent "},
  };
  for (const auto& refusal : refusals) {
    for (const char* output : {"old.scr", "new.scr"}) {
      SCOPED_TRACE(refusal.options + " " + output);
      const std::string command = refusal.environment + MORVANE_PACK + " " + args + refusal.options + " " +
                                  Quoted(output) + " 2>&1";
      ToolRun refused = {-1, ""};
      FILE* pipe = popen(command.c_str(), "r");
      ASSERT_NE(pipe, nullptr);
      char chunk[4096];
      for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) refused.out.append(chunk, got);
      const int status = pclose(pipe);
      refused.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      EXPECT_EQ(refused.exitCode, 1) << refused.out;
      EXPECT_NE(refused.out.find(refusal.named), std::string::npos) << refused.out;
      EXPECT_NE(refused.out.find("nothing was written"), std::string::npos) << refused.out;
      EXPECT_EQ(FolderNames(folder.path()), before);
      EXPECT_EQ(ReadFileBytes(folder.Path("old.scr")), std::vector<uint8_t>(100, 7));
    }
  }
  EXPECT_EQ(Pack(args + "--password-file " + Quoted("pass.txt") + " " + Quoted("x.scr")).exitCode, 2);
}

// A designer signed for distribution (make windows-dist) carries its signature after the player
// copy; Create must still find the player image before it.
TEST_F(PackToolTest, ASignedDesignersPlayerCopyIsFoundBeforeItsSignature) {
  const std::string realPlayer = MORVANE_WIN64_PLAYER;
  const std::string designer = realPlayer.substr(0, realPlayer.size() - 10) + "designer.scr";
  const std::vector<uint8_t> image = ReadFileBytes(realPlayer);
  if (image.size() != kPlayerImageSize) GTEST_SKIP() << "no 64-bit programs beside " << realPlayer;
  const std::string sign = "cd '" + folder.path() + "' && openssl req -x509 -newkey rsa:2048 -nodes -days 2 "
      "-subj '/CN=Morvane test' -keyout key.pem -out cert.pem 2>/dev/null && openssl pkcs12 -export -inkey key.pem "
      "-in cert.pem -passout pass: -out cert.pfx && osslsigncode sign -pkcs12 cert.pfx -in '" + designer +
      "' -out signed.scr >/dev/null";
  ASSERT_EQ(std::system(sign.c_str()), 0);
  ASSERT_GT(ReadFileBytes(folder.Path("signed.scr")).size(), ReadFileBytes(designer).size());
  StdioBuildFiles files;
  for (const std::string& path : {designer, folder.Path("signed.scr")}) {
    TrailingPlayerImage source(&files, path.c_str());
    const char* why = nullptr;
    const uint8_t* found = source.playerImage(&source, &why);
    ASSERT_NE(found, nullptr) << path << ": " << why;
    EXPECT_TRUE(std::equal(image.begin(), image.end(), found)) << path;
  }
}

}  // namespace
