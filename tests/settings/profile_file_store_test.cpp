#include "profile_file_store.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "file_replacement.h"
#include "profile_snapshot_store.h"
#include "profile_text.h"
#include "store_contract.h"

namespace {

class ProfileFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/morvane-settings-XXXXXX";
    folder = mkdtemp(pattern);
    path = folder + "/MORVANE.INI";
  }
  void TearDown() override {
    std::string command = "rm -rf '" + folder + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
  }
  void Put(const std::string& text) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
  std::string Get() {
    std::string text;
    EXPECT_EQ(LoadProfileFile(path.c_str(), &text), ProfileLoaded);
    return text;
  }
  std::vector<std::string> FolderEntries() {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    while (dirent* entry = readdir(dir))
      if (entry->d_name[0] != '.') names.push_back(entry->d_name);
    closedir(dir);
    return names;
  }
  std::string Read(SettingsStore* store, const char* section, const char* key, const char* fallback = "<absent>") {
    char value[kSettingBufferSize];
    store->readText(store, section, key, fallback, value);
    return value;
  }

  std::string folder;
  std::string path;
};

const char kHandWritten[] =
    "; scene for the lobby screens\r\n"
    "[Initial]\r\n"
    "Timer2=12\r\n"
    "Crear = 1 \r\n"
    "\r\n"
    "[Speed]\r\n"
    "AX=45\r\n"
    "Unknown=keep me\r\n"
    ";AY=3\r\n"
    "\r\n"
    "[BackGround]\r\n"
    "Bmp=\"C:\\My Pictures\\sky.bmp\"\r\n"
    "Sound=\r\n";

TEST_F(ProfileFileTest, KeepsTheStoreContract) {
  ProfileFileStore store(path.c_str());
  CheckStoreContract(&store);
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"MORVANE.INI"});  // no temporary left behind
}

TEST_F(ProfileFileTest, ReadsHandWrittenFiles) {
  Put(kHandWritten);
  ProfileFileStore file(path.c_str());
  ProfileSnapshotStore snapshot;
  ASSERT_TRUE(snapshot.Load(path.c_str()));
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  } cases[] = {
      {"Initial", "Timer2", "12"},
      {"initial", "CREAR", "1"},                       // spaces around the "=" and the value go
      {"Speed", "AY", "<absent>"},                     // a comment is not a key
      {"Initial", "AX", "<absent>"},                   // keys belong to their section
      {"BackGround", "Bmp", "C:\\My Pictures\\sky.bmp"},  // one pair of quotes goes
      {"BackGround", "Sound", ""},
      {"Module", "Memo1", "<absent>"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Read(&file, c.section, c.key), c.value) << c.section << "/" << c.key;
    EXPECT_EQ(Read(&snapshot, c.section, c.key), c.value) << c.section << "/" << c.key;
  }
  EXPECT_FALSE(snapshot.writeText(&snapshot, "Speed", "AX", "1"));
  EXPECT_EQ(Get(), kHandWritten);
}

// A scene's worth of keys and more, in sections that repeat, with names that differ only in case
// or only in where the section ends, after one key repeated a thousand times: the snapshot finds
// what a scan of the text finds.
TEST_F(ProfileFileTest, SnapshotOfManyKeysAnswersAsTheTextDoes) {
  std::string text;
  for (int k = 0; k < 1000; ++k) text += (k % 2 ? "[Sound]\nloop=" : "[SOUND]\nLOOP=") + std::to_string(k) + "\n";
  for (int round = 0; round < 3; ++round) {
    for (const char* section : {"Character", "CHARACTER", "Speed", "a", "ab"}) {
      text += std::string("[") + section + "]\nbc=split\nc=" + std::to_string(round) + "\n";
      for (int k = 0; k < 60; ++k)
        text += (k % 2 ? "k" : "K") + std::to_string(k) + "=" + section + std::to_string(round * 100 + k) + "\n";
    }
  }
  ProfileSnapshotStore snapshot;
  snapshot.LoadText(text);
  for (const char* section : {"character", "Speed", "a", "ab", "abc", "Sound"}) {
    for (const char* key : {"k7", "K59", "k60", "bc", "c", "Loop"}) {
      const char* value = nullptr;
      size_t length = 0;
      const bool found = FindProfileValue(text.data(), text.size(), section, key, &value, &length);
      EXPECT_EQ(Read(&snapshot, section, key), found ? std::string(value, length) : "<absent>") << section << "/" << key;
    }
  }
  EXPECT_EQ(Read(&snapshot, "character", "k7"), "Character7");  // the first of the repeats
  EXPECT_EQ(Read(&snapshot, "sound", "loop"), "0");
}

TEST_F(ProfileFileTest, WritesChangeOnlyWhatTheyMust) {
  struct Case {
    const char* name;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
  } cases[] = {
      {"replace in place", kHandWritten, "speed", "ax", "20",
       "; scene for the lobby screens\r\n[Initial]\r\nTimer2=12\r\nCrear = 1 \r\n\r\n[Speed]\r\nAX=20\r\n"
       "Unknown=keep me\r\n;AY=3\r\n\r\n[BackGround]\r\nBmp=\"C:\\My Pictures\\sky.bmp\"\r\nSound=\r\n"},
      {"new key at the end of its section", kHandWritten, "Speed", "BX", "-3",
       "; scene for the lobby screens\r\n[Initial]\r\nTimer2=12\r\nCrear = 1 \r\n\r\n[Speed]\r\nAX=45\r\n"
       "Unknown=keep me\r\n;AY=3\r\nBX=-3\r\n\r\n[BackGround]\r\nBmp=\"C:\\My Pictures\\sky.bmp\"\r\nSound=\r\n"},
      {"new section at the end", kHandWritten, "Module", "Memo1", "hello",
       "; scene for the lobby screens\r\n[Initial]\r\nTimer2=12\r\nCrear = 1 \r\n\r\n[Speed]\r\nAX=45\r\n"
       "Unknown=keep me\r\n;AY=3\r\n\r\n[BackGround]\r\nBmp=\"C:\\My Pictures\\sky.bmp\"\r\nSound=\r\n"
       "[Module]\r\nMemo1=hello\r\n"},
      {"empty value stays a key", "[Speed]\nAX=45\n", "Speed", "AX", "", "[Speed]\nAX=\n"},
      {"line feeds kept", "[Speed]\nAX=45\n", "Pattern", "AX", "1", "[Speed]\nAX=45\n[Pattern]\nAX=1\n"},
      {"no final line break", "[Speed]\r\nAX=45", "Speed", "AY", "2", "[Speed]\r\nAX=45\r\nAY=2\r\n"},
      {"a value stops at a line break", "[A]\r\nk=1\r\n", "A", "k", "x\r\n[Evil]\r\ny=2", "[A]\r\nk=x\r\n"},
      {"empty file", "", "Initial", "Timer2", "7", "[Initial]\r\nTimer2=7\r\n"},
      // Found by fuzzing: a stray carriage return must not hide the section from the next read.
      {"stray carriage return", "[Speed\r", "Speed", "AX", "1", "[Speed\r\r\nAX=1\r\n"},
  };
  for (const Case& c : cases) {
    Put(c.before);
    ProfileFileStore store(path.c_str());
    ASSERT_TRUE(store.writeText(&store, c.section, c.key, c.value)) << c.name;
    EXPECT_EQ(Get(), c.after) << c.name;
    std::string written(c.value);
    EXPECT_EQ(Read(&store, c.section, c.key), written.substr(0, written.find_first_of("\r\n"))) << c.name;
  }
}

TEST_F(ProfileFileTest, WritesThatCannotBeDoneFailWithoutHarm) {
  ProfileFileStore inMissingFolder((folder + "/missing/MORVANE.INI").c_str());
  EXPECT_FALSE(inMissingFolder.writeText(&inMissingFolder, "Speed", "AX", "1"));
  char value[kSettingBufferSize];
  inMissingFolder.readText(&inMissingFolder, "Speed", "AX", "10", value);
  EXPECT_STREQ(value, "10");

  Put(kHandWritten);
  ProfileFileStore store(path.c_str());
  EXPECT_FALSE(store.writeText(&store, "", "AX", "1"));
  EXPECT_FALSE(store.writeText(&store, "Sp]eed", "AX", "1"));
  EXPECT_FALSE(store.writeText(&store, "Speed", "A=X", "1"));
  EXPECT_FALSE(store.writeText(&store, "Speed", "A\nX", "1"));
  EXPECT_EQ(Get(), kHandWritten);
}

TEST_F(ProfileFileTest, KeepsTheFilePermissions) {
  Put("[Speed]\r\nAX=1\r\n");
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  ProfileFileStore store(path.c_str());
  ASSERT_TRUE(store.writeText(&store, "Speed", "AX", "2"));
  struct stat info;
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

// Ends the process at the chosen point of a write, as a crash there would.
struct CrashAt {
  ReplacementInterruption base;
  int remaining;
};

const int kCrashed = 42, kFinished = 0, kFailed = 1;

void CrashHere(ReplacementInterruption* self, const char*) {
  if (--reinterpret_cast<CrashAt*>(self)->remaining == 0) _exit(kCrashed);
}

TEST_F(ProfileFileTest, AWriteInterruptedAnywhereLeavesTheOldOrTheNewFileWhole) {
  // Longer than a piece of a write, so that interruptions fall between pieces too.
  const std::string old = "[Module]\r\nMemo1=" + std::string(9000, 'o') + "\r\n";
  const std::string value(5000, 'n');
  const std::string changed = SetProfileValue(old, "Module", "Memo2", value.c_str());
  int oldSeen = 0, newSeen = 0, point = 0;
  for (;;) {
    ++point;
    ASSERT_LT(point, 100) << "the write never finished";
    Put(old);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      CrashAt crash = {{CrashHere}, point};
      ProfileFileStore store(path.c_str(), &crash.base);
      _exit(store.writeText(&store, "Module", "Memo2", value.c_str()) ? kFinished : kFailed);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    const std::string now = Get();
    EXPECT_TRUE(now == old || now == changed) << "interrupted at point " << point << ": " << now.size() << " bytes";
    ++(now == old ? oldSeen : newSeen);
    // What a crash leaves beside the file is a temporary of its own, never the file itself.
    for (const std::string& name : FolderEntries())
      if (name != "MORVANE.INI") {
        EXPECT_EQ(std::remove((folder + "/" + name).c_str()), 0);
      }
    if (WEXITSTATUS(status) == kFinished) break;
    ASSERT_EQ(WEXITSTATUS(status), kCrashed);
  }
  EXPECT_EQ(Get(), changed);
  EXPECT_GE(point, 8) << "temporary, permissions, pieces, flush, sync, close and rename are all points";
  EXPECT_GE(oldSeen, 7);
  EXPECT_GE(newSeen, 2);  // after the rename, and the write that finished
  std::printf("interruption points: %d (old file %d times, new file %d times)\n", point - 1, oldSeen, newSeen);
}

}  // namespace
