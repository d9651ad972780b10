// The version resources as the system's file properties read them: both programs of both
// builds, and packaged savers described by their scene's first comment line.
#include <gtest/gtest.h>

#include <string>

#include "process_runner.h"
#include "program_icon.h"
#include "version_info.h"

namespace {

const WORD kJapanese = 0x0411, kEnglish = 0x0409;
const std::wstring kVersion(MORVANE_VERSION_TEXT, MORVANE_VERSION_TEXT + sizeof MORVANE_VERSION_TEXT - 1);

// The folders whose programs are checked: this build's, and the 32-bit build's when it is there.
std::vector<std::string> BuildFolders() {
  std::vector<std::string> folders = {ProgramFolder()};
  if (GetFileAttributesA(MORVANE_WIN32_BIN "\\player.scr") != INVALID_FILE_ATTRIBUTES)
    folders.push_back(MORVANE_WIN32_BIN "\\");
  return folders;
}

TEST(VersionResources, BothProgramsOfBothBuildsGiveProductVersionAndDescriptionInBothLanguages) {
  const std::vector<std::string> folders = BuildFolders();
  EXPECT_EQ(folders.size(), 2u) << "the 32-bit build is missing: " << MORVANE_WIN32_BIN;
  const struct {
    const char* file;
    const wchar_t* japanese;
    const wchar_t* english;
  } programs[] = {
      {"player.scr", L"Morvane スクリーンセイバー", L"Morvane screen saver"},
      {"designer.scr", L"Morvane スクリーンセイバー デザイナー", L"Morvane screen saver designer"},
  };
  unsigned major = 0, minor = 0, patch = 0;
  ASSERT_EQ(swscanf(kVersion.c_str(), L"%u.%u.%u", &major, &minor, &patch), 3);
  for (const std::string& folder : folders) {
    for (const auto& program : programs) {
      SCOPED_TRACE(folder + program.file);
      FileVersion version = ReadFileVersion(folder + program.file);
      ASSERT_TRUE(version.found);
      EXPECT_EQ(version.fixed.dwSignature, 0xFEEF04BDu);
      EXPECT_EQ(version.fixed.dwFileVersionMS, major << 16 | minor);
      EXPECT_EQ(version.fixed.dwFileVersionLS, patch << 16);
      EXPECT_EQ(version.fixed.dwProductVersionMS, major << 16 | minor);
      EXPECT_EQ(version.fixed.dwFileType, static_cast<DWORD>(VFT_APP));
      EXPECT_EQ(version.translations, (std::vector<DWORD>{1200u << 16 | kJapanese, 1200u << 16 | kEnglish}));
      for (WORD language : {kJapanese, kEnglish}) {
        EXPECT_EQ(version.Text(language, L"ProductName"), L"Morvane");
        EXPECT_EQ(version.Text(language, L"FileVersion"), kVersion);
        EXPECT_EQ(version.Text(language, L"ProductVersion"), kVersion);
        EXPECT_EQ(version.Text(language, L"FileDescription"), language == kJapanese ? program.japanese : program.english);
      }
    }
  }
}

// A packaged saver made by morvane-pack.exe takes its scene's first comment line as description
// in both languages, within the room the player keeps; only the description's bytes differ from
// the player's own image.
TEST(VersionResources, APackagedSaverIsDescribedByItsFirstCommentLine) {
  const std::string folder = ProgramFolder();
  const std::string player = ReadWholeFile(folder + "player.scr");
  ASSERT_EQ(player.size(), 49152u);
  const struct {
    const char* memo;           // bytes of the settings file, in the ANSI code page
    const wchar_t* japanese;    // expected descriptions
    const wchar_t* english;
  } cases[] = {
      {"Night sky over the harbour", L"Night sky over the harbour", L"Night sky over the harbour"},
      {"Caf\xe9 lights", L"Caf\x00e9 lights", L"Caf\x00e9 lights"},
      {"", L"Morvane スクリーンセイバー", L"Morvane screen saver"},
      {"0123456789012345678901234567890123456789012345678901234567890123456789",
       L"012345678901234567890123456789012345678901234567890123456789012",
       L"012345678901234567890123456789012345678901234567890123456789012"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.memo);
    const std::string settings = folder + "described.ini", saver = folder + "described.scr";
    ASSERT_TRUE(WriteWholeFile(settings, std::string("[Module]\r\nMemo1=") + c.memo + "\r\nMemo2=second line\r\n"));
    DeleteFileA(saver.c_str());
    ASSERT_EQ(RunProgram(folder + "morvane-pack.exe",
                         "--settings \"" + settings + "\" --player \"" + folder + "player.scr\" \"" + saver + "\""),
              0u);
    FileVersion version = ReadFileVersion(saver);
    ASSERT_TRUE(version.found);
    EXPECT_EQ(version.Text(kJapanese, L"FileDescription"), c.japanese);
    EXPECT_EQ(version.Text(kEnglish, L"FileDescription"), c.english);
    EXPECT_EQ(version.Text(kEnglish, L"ProductName"), L"Morvane");
    EXPECT_EQ(version.Text(kJapanese, L"FileVersion"), kVersion);

    const std::string built = ReadWholeFile(saver);
    ASSERT_GT(built.size(), 49152u);
    size_t differing = 0;
    for (size_t i = 0; i < 49152; ++i) differing += built[i] != player[i];
    // Two tables of 64 units each, and their value lengths.
    EXPECT_LE(differing, 2u * (2 * 64 + 2));
    EXPECT_EQ(*c.memo == '\0', differing == 0u);
    EXPECT_NE(built.find("second line", 49152), std::string::npos);
    DeleteFileA(settings.c_str());
    DeleteFileA(saver.c_str());
  }
}

// Every packaged saver shows the Morvane icon: the player carries it at 16 and 32 pixels in 16
// colours, all the room its 49152 bytes leave for one.
TEST(VersionResources, ThePlayerOfBothBuildsCarriesTheSmallIcon) {
  for (const std::string& folder : BuildFolders()) {
    SCOPED_TRACE(folder);
    std::vector<IconEntry> icon = ReadProgramIcon(folder + "player.scr");
    ASSERT_EQ(icon.size(), 2u);
    for (size_t i = 0; i < icon.size(); ++i) {
      EXPECT_EQ(icon[i].size, i == 0 ? 16 : 32);
      EXPECT_EQ(icon[i].bits, 4);
      EXPECT_FALSE(icon[i].png);
      EXPECT_TRUE(icon[i].made);
    }
  }
}

}  // namespace
