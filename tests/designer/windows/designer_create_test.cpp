// The Module page's Create button: the name fix-up, the four messages, the overwrite question,
// and a packaged saver byte for byte the same as morvane-pack's for the same settings, pictures
// of every format included.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "designer_driver.h"
#include "scene_art.h"
#include "system_language.h"
#include "version_info.h"

namespace {

const int kModuleTab = 22;
const int kNameField = 1011, kFirstComment = 1012, kCreate = 1032;

std::wstring MessageOf(DesignerDialog& designer, HWND* popup) {
  *popup = designer.WaitForPopup();
  if (!*popup) return L"<no message>";
  EXPECT_EQ(WindowTextW(*popup), L"Morvane");
  return PopupText(*popup);
}

// Presses Create and answers the one message that follows with OK, after a screenshot of it when
// one is named; returns its text.
std::wstring CreateAndAcknowledge(DesignerDialog& designer, const char* screenshot = nullptr) {
  designer.Click(kCreate);
  HWND popup = nullptr;
  std::wstring text = MessageOf(designer, &popup);
  if (popup && screenshot) designer.Screenshot(screenshot);
  if (popup) EXPECT_TRUE(Answer(popup, IDOK));
  return text;
}

const wchar_t* const kNoName = SystemText(L"ファイル名を入力して下さい。", L"Please enter a file name.");
const wchar_t* const kOverwrite = SystemText(L"同名のファイルが既に存在します。上書きしますか？",
                                             L"A file of that name already exists. Do you want to replace it?");
const wchar_t* const kFailed =
    SystemText(L"ファイルの作成中に異常が発生しました。", L"Something went wrong while the file was being created.");
const wchar_t* const kSucceeded = SystemText(L"現在の設定でスクリーンセイバーを作成しました。",
                                             L"A screen saver was created from the current settings.");
const wchar_t* const kWarning =
    SystemText(L"現在の設定でスクリーンセイバーを作成しましたが、次のファイルに問題がありました。",
               L"The screen saver was created with the current settings, but there were problems with these files:");
const wchar_t* const kNoFolder = SystemText(L"保存先のフォルダーがありません。", L"The folder does not exist.");

std::wstring Wide(const std::string& text) {
  std::wstring wide(text.size() + 1, L'\0');
  wide.resize(MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size())) - 1);
  return wide;
}

std::string ActualName(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return "";
  FindClose(search);
  return found.cFileName;
}

TEST(DesignerCreate, BuildsBesideTheDesignerAsMorvanePackDoesAndAsksBeforeReplacing) {
  std::string folder = DesignerFolder();
  DesignerCopy();
  for (const char* old : {"test.scr", "Night.SCR", "keep.scr", "pack.scr", "lead.scr"}) DeleteFileA((folder + old).c_str());
  Picture32 frame(64, 48, 0x00FF00FF);
  frame.Disc(32, 24, 20, 0x000000FF);
  ASSERT_TRUE(WriteBmp24(folder + "frame-a.bmp", frame));
  WriteSettings(
      "[Initial]\r\nCrear=1\r\nTimer2=7\r\n"
      "[BackGround]\r\nColorR=10\r\nColorG=20\r\nColorB=30\r\n"
      "[Character]\r\nA0=frame-a.bmp\r\nA1=frame-a.bmp\r\n"
      "[Speed]\r\nAX=-4\r\n");

  DesignerDialog designer;
  ASSERT_TRUE(designer.ok());
  ASSERT_TRUE(designer.SelectTab(kModuleTab));

  // A name that begins with a space: no name, nothing appended, but the comments are kept.
  designer.SetText(kNameField, " lead");
  designer.SetText(kFirstComment, "kept comment");
  designer.SetText(kFirstComment + 4, "fifth line");
  EXPECT_EQ(CreateAndAcknowledge(designer), kNoName);
  EXPECT_EQ(designer.Text(kNameField), " lead");
  EXPECT_EQ(StoredValue("Module", "Memo1"), "kept comment");
  designer.SetText(kNameField, "");
  EXPECT_EQ(CreateAndAcknowledge(designer), kNoName);

  // A bare name: lower case, ".scr" added, written in the designer's folder.
  designer.SetText(kNameField, "Test");
  EXPECT_EQ(CreateAndAcknowledge(designer), kSucceeded);
  EXPECT_EQ(designer.Text(kNameField), "test.scr");
  EXPECT_EQ(StoredValue("Module", "MName"), "test.scr");
  std::string built = ReadWholeFile(folder + "test.scr");
  ASSERT_GT(built.size(), 49152u);
  // The player image the designer carries, with the first comment line as its description.
  const std::string player = ReadWholeFile(folder + "player.scr");
  ASSERT_EQ(player.size(), 49152u);
  size_t differing = 0;
  for (size_t i = 0; i < 49152; ++i) differing += built[i] != player[i];
  EXPECT_GT(differing, 0u);
  EXPECT_LE(differing, 2u * (2 * 64 + 2));
  EXPECT_EQ(ReadFileVersion(folder + "test.scr").Text(0x0409, L"FileDescription"), L"kept comment");
  EXPECT_EQ(ReadFileVersion(folder + "test.scr").Text(0x0411, L"FileDescription"), L"kept comment");

  EXPECT_EQ(PackSettings(folder + "pack.scr"), 0u);
  EXPECT_TRUE(built == ReadWholeFile(folder + "pack.scr")) << "Create and morvane-pack differ";
  EXPECT_NE(built.find("kept comment"), std::string::npos);

  // A name that already holds ".scr" keeps its letters.
  designer.SetText(kNameField, "Night.SCR");
  EXPECT_EQ(CreateAndAcknowledge(designer), kSucceeded);
  EXPECT_EQ(designer.Text(kNameField), "Night.SCR");
  EXPECT_EQ(ActualName(folder + "night.scr"), "Night.SCR");

  // An existing file: the question has No as its default, and No touches nothing.
  WriteWholeFile(folder + "keep.scr", "original");
  designer.SetText(kNameField, "keep.scr");
  designer.Click(kCreate);
  HWND question = nullptr;
  EXPECT_EQ(MessageOf(designer, &question), kOverwrite);
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(GetWindowLongW(GetDlgItem(question, IDNO), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON) << "No is the default";
  EXPECT_EQ(GetWindowLongW(GetDlgItem(question, IDYES), GWL_STYLE) & 0x0F, BS_PUSHBUTTON);
  ASSERT_TRUE(Answer(question, IDNO));
  EXPECT_EQ(designer.WaitForPopup(800), nullptr) << "no message after No";
  EXPECT_EQ(ReadWholeFile(folder + "keep.scr"), "original");

  // Yes replaces it.
  designer.Click(kCreate);
  EXPECT_EQ(MessageOf(designer, &question), kOverwrite);
  ASSERT_NE(question, nullptr);
  ASSERT_TRUE(Answer(question, IDYES));
  HWND result = nullptr;
  EXPECT_EQ(MessageOf(designer, &result), kSucceeded);
  if (result) Answer(result, IDOK);
  EXPECT_TRUE(ReadWholeFile(folder + "keep.scr") == built);

  // A folder that does not exist: the failure message, then the file and why.
  designer.SetText(kNameField, "no-such-folder\\out.scr");
  EXPECT_EQ(CreateAndAcknowledge(designer),
            std::wstring(kFailed) + L"\r\n\r\n" + Wide(folder) + L"no-such-folder\\out.scr\r\n" + kNoFolder);

  // The comments typed before the failed and declined builds come back with the page.
  ASSERT_TRUE(designer.SelectTab(kModuleTab - 1));
  ASSERT_TRUE(designer.SelectTab(kModuleTab));
  EXPECT_EQ(designer.Text(kFirstComment), "kept comment");
  EXPECT_EQ(designer.Text(kFirstComment + 4), "fifth line");

  EXPECT_EQ(designer.PressOk(), 0u);
  EXPECT_EQ(StoredValue("Module", "Memo1"), "kept comment");
  EXPECT_EQ(StoredValue("Module", "Memo5"), "fifth line");
  EXPECT_EQ(StoredValue("Module", "MName"), "no-such-folder\\out.scr");
  ClearSettings();
}

TEST(DesignerCreate, FilesLeftOutAreListedWithTheirReasonsInsteadOfSuccess) {
  std::string folder = DesignerFolder();
  DesignerCopy();
  DeleteFileA((folder + "warned.scr").c_str());
  Picture32 frame(32, 32, 0x00FFFFFF);
  frame.Disc(16, 16, 10, 0x00FF0000);
  for (const char* name : {"ball1.bmp", "ball3.bmp", "ball4.bmp"}) ASSERT_TRUE(WriteBmp24(folder + name, frame));
  WriteWholeFile(folder + "notes.bmp", "these are notes, not a picture");
  WriteWholeFile(folder + "notes.wav", "these are notes, not a sound");
  // Frame 2 is mistyped; the builder's frames end there, so frames 3 and 4 go too.
  WriteSettings(
      "[Character]\r\nA0=ball1.bmp\r\nA1=bal2.bmp\r\nA2=ball3.bmp\r\nA3=ball4.bmp\r\nB0=notes.bmp\r\n"
      "[BackGround]\r\nSoundOpt=1\r\nSound=notes.wav\r\n[Module]\r\nMName=warned.scr\r\n");

  DesignerDialog designer;
  ASSERT_TRUE(designer.ok());
  ASSERT_TRUE(designer.SelectTab(kModuleTab));
  std::wstring text = CreateAndAcknowledge(designer, "create-warning");
  EXPECT_EQ(text, std::wstring(kWarning) + L"\r\n" +
                      SystemText(L"\r\n・画像1 の 2 コマ目（bal2.bmp）：見つからないため、入っていません。"
                                 L"\r\n・画像1 の 3 コマ目（ball3.bmp）：2 コマ目が入らなかったため、入っていません。"
                                 L"\r\n・画像1 の 4 コマ目（ball4.bmp）：2 コマ目が入らなかったため、入っていません。"
                                 L"\r\n・画像2 の 1 コマ目（notes.bmp）：使える種類のファイルではないため、入っていません（not a picture this builder reads (BMP, PNG, JPEG or GIF)）。"
                                 L"\r\n・サウンド（notes.wav）：WAV・MP3・Ogg・FLAC のどれでもないため、入っていません。",
                                 L"\r\n- Image 1, frame 2 (bal2.bmp): not found; left out."
                                 L"\r\n- Image 1, frame 3 (ball3.bmp): left out because frame 2 did not go in."
                                 L"\r\n- Image 1, frame 4 (ball4.bmp): left out because frame 2 did not go in."
                                 L"\r\n- Image 2, frame 1 (notes.bmp): not a kind of file that can be used here; left out (not a picture this builder reads (BMP, PNG, JPEG or GIF))."
                                 L"\r\n- Sound (notes.wav): not a wave, MP3, Ogg or FLAC file; left out."));
  EXPECT_GT(ReadWholeFile(folder + "warned.scr").size(), 49152u) << "the saver was written";
  EXPECT_EQ(designer.PressOk(), 0u);
  ClearSettings();
}

TEST(DesignerCreate, AReadOnlyFolderOrARefusedNameGivesTheFailureAndTheReason) {
  DesignerCopy();
  WriteSettings("[Module]\r\nMName=x.scr\r\n");
  DesignerDialog designer;
  ASSERT_TRUE(designer.ok());
  ASSERT_TRUE(designer.SelectTab(kModuleTab));
  // The kernel's /sys takes no new file from anyone, root included, as a read-only folder
  // does; a folder made read-only by its permission bits would still take root's files.
  designer.SetText(kNameField, "Z:\\sys\\saver.scr");
  EXPECT_EQ(CreateAndAcknowledge(designer),
            std::wstring(kFailed) + L"\r\n\r\nZ:\\sys\\saver.scr\r\n" +
                SystemText(L"このフォルダーには書き込めません（読み取り専用か、書き込む権限がありません）。",
                           L"This folder cannot be written to (it is read-only, or you may not write there)."));
  designer.SetText(kNameField, "what?.scr");
  std::wstring text = CreateAndAcknowledge(designer);
  EXPECT_EQ(text.find(kFailed), 0u) << text.c_str();
  EXPECT_NE(text.find(SystemText(L"このファイル名は使えません。", L"The system does not allow this file name.")),
            std::wstring::npos);
  EXPECT_EQ(designer.PressOk(), 0u);
  ClearSettings();
}

// Create with the scene's settings, beside the designer; returns the packaged saver. The
// message is the success or, when the build noted something about a picture, the warning.
std::string CreateScene(const std::string& scene, bool noted) {
  WriteSettings(ReadWholeFile(PictureFixtureFolder() + scene + ".ini"));
  DeleteFileA((DesignerFolder() + scene + ".scr").c_str());
  DesignerDialog designer;
  EXPECT_TRUE(designer.ok());
  EXPECT_TRUE(designer.SelectTab(kModuleTab));
  designer.SetText(kNameField, scene + ".scr");
  std::wstring message = CreateAndAcknowledge(designer);
  if (noted) {
    EXPECT_EQ(message.find(kWarning), 0u) << scene;
  } else {
    EXPECT_EQ(message, kSucceeded) << scene;
  }
  EXPECT_EQ(designer.PressOk(), 0u);
  return ReadWholeFile(DesignerFolder() + scene + ".scr");
}

TEST(DesignerCreate, PicturesGiveTheBytesOfMorvanePackOnWindowsAndOnLinux) {
  std::string folder = DesignerFolder();
  DesignerCopy();
  for (const char* name : {"sprite-alpha.png", "palette-trns.png", "rgb-trns.png", "gray16.png", "rgba16.png", "gray2.png",
                           "interlaced.png", "ring-alpha.png", "corner-figure.png", "wallpaper.png", "still.gif",
                           "animated.gif", "anim12.gif", "wrapped-png.bmp", "photo.jpg", "progressive.jpg", "gray.jpg",
                           "cmyk.jpg", "wrapped-jpeg.bmp", "disposals.gif", "interlace.gif", "empty.gif",
                           "frames10000.gif", "disposals-cut.gif"})
    ASSERT_TRUE(CopyFileA((PictureFixtureFolder() + name).c_str(), (folder + name).c_str(), FALSE)) << name;

  // PNG and GIF: the Linux tool's bytes.
  // The ring, the figure over the corner and the 16-bit picture cannot be shown exactly, and
  // the twelve-frame GIF has too many frames: the warning names them.
  std::string pictures = CreateScene("pictures", true);
  ASSERT_GT(pictures.size(), 49152u);
  EXPECT_TRUE(pictures == ReadWholeFile(PictureFixtureFolder() + "pictures-linux.scr")) << "Create and the Linux morvane-pack differ";

  // GIFs of every disposal with their alpha in their own pixels; the empty one, the one of ten
  // thousand frames and the one cut short (its whole frames kept) are noted.
  std::string gifs = CreateScene("gifs", true);
  EXPECT_TRUE(gifs == ReadWholeFile(PictureFixtureFolder() + "gifs-linux.scr")) << "Create and the Linux morvane-pack differ";

  // JPEG as well: the bytes of morvane-pack.exe, which reads pictures with the same codecs.
  std::string mixed = CreateScene("mixed", false);
  EXPECT_EQ(PackSettings(folder + "mixed-pack.scr"), 0u);
  EXPECT_GT(mixed.size(), 49152u);
  EXPECT_TRUE(mixed == ReadWholeFile(folder + "mixed-pack.scr")) << "Create and morvane-pack.exe differ";
  ClearSettings();
}

// The small file system that the test set-up mounts (see CMakeLists.txt), as a Windows path;
// empty when there is none.
std::string SmallDisk() {
  char path[MAX_PATH];
  DWORD length = GetEnvironmentVariableA("MORVANE_SMALL_DISK", path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return "";
  std::string windows = "Z:" + std::string(path, length) + "\\";
  for (char& c : windows) c = c == '/' ? '\\' : c;
  ULARGE_INTEGER total;
  if (!GetDiskFreeSpaceExA(windows.c_str(), nullptr, &total, nullptr) || total.QuadPart > (1u << 20)) return "";
  return windows;
}

TEST(DesignerCreate, FullDiskLeavesTheOldSaverWholeAndNothingBeside) {
  std::string disk = SmallDisk();
  if (disk.empty()) GTEST_SKIP() << "no small file system mounted (needs root)";
  std::string folder = DesignerFolder();
  DesignerCopy();
  ASSERT_TRUE(WriteBmp24(folder + "frame-a.bmp", Picture32(64, 48, 0x00FF00FF)));
  WriteSettings("[Character]\r\nA0=frame-a.bmp\r\n");
  // The old saver leaves less room than the new one needs.
  std::string old(50000, 'k');
  for (size_t i = 0; i < old.size(); ++i) old[i] = static_cast<char>(i * 7);
  ASSERT_TRUE(WriteWholeFile(disk + "keep.scr", old));

  DesignerDialog designer;
  ASSERT_TRUE(designer.ok());
  ASSERT_TRUE(designer.SelectTab(kModuleTab));
  designer.SetText(kNameField, disk + "keep.scr");
  designer.Click(kCreate);
  HWND popup = nullptr;
  EXPECT_EQ(MessageOf(designer, &popup), kOverwrite);
  ASSERT_NE(popup, nullptr);
  ASSERT_TRUE(Answer(popup, IDYES));
  std::wstring text = MessageOf(designer, &popup);
  if (popup) Answer(popup, IDOK);
  EXPECT_EQ(text.find(kFailed), 0u) << text.c_str();
  EXPECT_TRUE(ReadWholeFile(disk + "keep.scr") == old) << "the old saver was changed";

  // A new name on the full disk: the failure, and no file of that name or beside it.
  designer.SetText(kNameField, disk + "new.scr");
  text = CreateAndAcknowledge(designer);
  EXPECT_EQ(text.find(kFailed), 0u) << text.c_str();
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((disk + "*").c_str(), &found);
  std::vector<std::string> names;
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (found.cFileName[0] != '.') names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  EXPECT_EQ(names, std::vector<std::string>{"keep.scr"});
  DeleteFileA((disk + "keep.scr").c_str());
  EXPECT_EQ(designer.PressOk(), 0u);
  ClearSettings();
}

}  // namespace
