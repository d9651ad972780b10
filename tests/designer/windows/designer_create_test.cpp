// The Module page's Create button: the name fix-up, the four messages, the overwrite question,
// and a packaged saver byte for byte the same as morvane-pack's for the same settings.
#include <gtest/gtest.h>

#include "designer_driver.h"
#include "scene_art.h"

namespace {

const int kModuleTab = 22;
const int kNameField = 1011, kFirstComment = 1012, kCreate = 1032;

std::wstring MessageOf(DesignerDialog& designer, HWND* popup) {
  *popup = designer.WaitForPopup();
  if (!*popup) return L"<no message>";
  EXPECT_EQ(WindowTextW(*popup), L"Morvane");
  return PopupText(*popup);
}

// Presses Create and answers the one message that follows with OK; returns its text.
std::wstring CreateAndAcknowledge(DesignerDialog& designer) {
  designer.Click(kCreate);
  HWND popup = nullptr;
  std::wstring text = MessageOf(designer, &popup);
  if (popup) EXPECT_TRUE(Answer(popup, IDOK));
  return text;
}

const wchar_t kNoName[] = L"ファイル名を入力して下さい。";
const wchar_t kOverwrite[] = L"同名のファイルが既に存在します。上書きしますか？";
const wchar_t kFailed[] = L"ファイルの作成中に異常が発生しました。";
const wchar_t kSucceeded[] = L"現在の設定でスクリーンセイバーを作成しました。";

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
  EXPECT_EQ(built.substr(0, 49152), ReadWholeFile(folder + "player.scr")) << "the player image the designer carries";

  DWORD packed = RunProgram(ProgramFolder() + "morvane-pack.exe",
                            "--player \"" + folder + "player.scr\" --base \"" + folder.substr(0, folder.size() - 1) + "\" \"" + folder + "pack.scr\"");
  EXPECT_EQ(packed, 0u);
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

  // A folder that does not exist: the failure message.
  designer.SetText(kNameField, "no-such-folder\\out.scr");
  EXPECT_EQ(CreateAndAcknowledge(designer), kFailed);

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

}  // namespace
