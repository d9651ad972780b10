// Scene files through the real dialog: Save As writes the store as a scene file with the names in
// its folder made relative, the title shows the scene and its unsaved changes, closing asks, the
// shell's open command opens the scene wherever its folder went, and Create from it writes the
// same saver as morvane-pack does from the same file.
#include <gtest/gtest.h>

#include <string>

#include "designer_driver.h"
#include "input_events.h"
#include "scene_art.h"

namespace {

const int kFirstCharacterTab = 2, kModuleTab = 22;
const WPARAM kSaveAs = 1202, kCloseScene = 1203;
const int kSaveQuestionText = 1210;

void RemoveFolder(const std::string& folder) {
  for (const char* name : {"pics\\frame-a.bmp", "wall.bmp", "night.morvane", "bad.morvane", "scene.scr", "pack.scr"})
    DeleteFileA((folder + name).c_str());
  RemoveDirectoryA((folder + "pics").c_str());
  RemoveDirectoryA(folder.c_str());
}

// A new folder in base, with a trailing backslash: on a Japanese system its name lies outside
// ASCII and the first character's second byte is "\\" in Shift-JIS; elsewhere the plain name,
// since the session's Linux locale may hold no other.
std::string MakeFolder(const std::string& base, const wchar_t* japanese, const char* plain) {
  char text[64] = "";
  if (GetACP() != 932 || !WideCharToMultiByte(CP_ACP, 0, japanese, -1, text, sizeof text, nullptr, nullptr))
    lstrcpyA(text, plain);
  RemoveFolder(base + text + "\\");
  CreateDirectoryA((base + text).c_str(), nullptr);
  return base + text + "\\";
}

bool TitleBecomes(HWND window, const std::wstring& title) {
  return WaitUntil([&] { return WindowTextW(window) == title; }, 5000);
}

TEST(DesignerScenes, SaveAsOpenAndCreateFromASceneFileMatchMorvanePack) {
  ClearSettings();
  const std::string folder = DesignerFolder();
  DesignerCopy();
  const std::string scene = MakeFolder(folder, L"表示", "Scene");
  const std::string moved = MakeFolder(folder, L"移動", "Moved");
  // The scene's folder moves to the other's place.
  ASSERT_TRUE(RemoveDirectoryA(moved.c_str())) << moved;
  ASSERT_TRUE(CreateDirectoryA((scene + "pics").c_str(), nullptr)) << GetLastError();
  Picture32 frame(40, 30, 0x00FFFFFF);
  frame.Disc(20, 15, 12, 0x00FF0000);
  ASSERT_TRUE(WriteBmp24(scene + "pics\\frame-a.bmp", frame));
  ASSERT_TRUE(WriteBmp24(scene + "wall.bmp", Picture32(64, 64, 0x00203040)));
  WriteSettings("[Initial]\r\nCrear=1\r\n[BackGround]\r\nBmpOpt1=1\r\nBmp=" + scene + "wall.bmp\r\n"
                "[Character]\r\nA0=" + scene + "pics\\frame-a.bmp\r\nA1=" + scene + "pics\\frame-a.bmp\r\n"
                "[Speed]\r\nAX=-4\r\n[Module]\r\nMemo1=scene comment\r\n");
  const std::string before = ReadWholeFile(SettingsFilePath());

  {
    DesignerDialog designer;
    ASSERT_TRUE(designer.ok());
    PostMessageW(designer.dialog(), WM_COMMAND, kSaveAs, 0);
    HWND files = designer.WaitForPopup();
    ASSERT_NE(files, nullptr);
    const std::string path = scene + "night.morvane";
    HWND nameBox = GetDlgItem(files, 1148) ? GetDlgItem(files, 1148) : GetDlgItem(files, 1152);
    SendMessageA(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    ASSERT_TRUE(Answer(files, IDOK));
    ASSERT_TRUE(TitleBecomes(designer.dialog(), L"night.morvane - Morvane")) << WindowTextW(designer.dialog()).c_str();
    std::string saved = ReadWholeFile(path);
    EXPECT_NE(saved.find("A0=pics\\frame-a.bmp"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Bmp=wall.bmp"), std::string::npos);
    EXPECT_NE(saved.find("Memo1=scene comment"), std::string::npos);

    // A change marks the title at once and Ctrl+S saves it; closing with another change asks,
    // Cancel stays, Don't Save closes.
    ASSERT_TRUE(designer.SelectTab(kFirstCharacterTab + 1));
    designer.SetText(1011, "pics\\frame-a.bmp");
    EXPECT_TRUE(TitleBecomes(designer.dialog(), L"*night.morvane - Morvane"));
    SetForegroundWindow(designer.dialog());
    PumpFor(200);
    PressChord({VK_CONTROL}, 'S');
    EXPECT_TRUE(TitleBecomes(designer.dialog(), L"night.morvane - Morvane"));
    saved = ReadWholeFile(path);
    EXPECT_NE(saved.find("B0=pics\\frame-a.bmp"), std::string::npos) << saved;
    designer.SetText(1012, "pics\\frame-a.bmp");
    EXPECT_TRUE(TitleBecomes(designer.dialog(), L"*night.morvane - Morvane"));
    PostMessageW(designer.dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
    HWND question = designer.WaitForPopup();
    ASSERT_NE(question, nullptr);
    EXPECT_NE(WindowTextW(GetDlgItem(question, kSaveQuestionText)).find(L"night.morvane"), std::wstring::npos);
    ASSERT_TRUE(Answer(question, IDCANCEL));
    EXPECT_TRUE(designer.Running());
    PostMessageW(designer.dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
    question = designer.WaitForPopup();
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(Answer(question, IDNO));
    EXPECT_TRUE(WaitUntil([&] { return !designer.Running(); }, 5000));
    EXPECT_EQ(ReadWholeFile(path), saved) << "Don't Save keeps the file as it was";
    EXPECT_EQ(ReadWholeFile(SettingsFilePath()), before) << "a scene's changes never reach MORVANE.INI";
  }

  // The folder moves; the shell's open command opens the scene from its new place.
  ASSERT_TRUE(MoveFileA(scene.substr(0, scene.size() - 1).c_str(), moved.substr(0, moved.size() - 1).c_str()));
  {
    DesignerDialog designer("designer.scr", "/c \"" + moved + "night.morvane\"", "night.morvane - Morvane");
    ASSERT_TRUE(designer.ok()) << "no dialog with the scene's title";
    EXPECT_EQ(designer.WaitForPopup(800), nullptr) << "nothing is missing where the folder went";
    ASSERT_TRUE(designer.SelectTab(kModuleTab));
    designer.SetText(1011, moved + "scene.scr");
    designer.Click(1032);
    HWND done = designer.WaitForPopup(20000);
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(PopupText(done), GetACP() == 932 ? L"現在の設定でスクリーンセイバーを作成しました。"
                                                : L"A screen saver was created from the current settings.");
    ASSERT_TRUE(Answer(done, IDOK));
    // The size beside Create is the size Create wrote, worked out without writing.
    std::string kilobytes = std::to_string((ReadWholeFile(moved + "scene.scr").size() + 1023) / 1024);
    for (int at = static_cast<int>(kilobytes.size()) - 3; at > 0; at -= 3) kilobytes.insert(at, ",");
    EXPECT_TRUE(WaitUntil([&] { return designer.Text(1220).find(kilobytes + " KB") != std::string::npos; }, 5000))
        << designer.Text(1220) << " for " << kilobytes;
    // The name typed is a change of the scene: Save keeps it, relative to the folder.
    PostMessageW(designer.dialog(), WM_COMMAND, IDOK, 0);
    HWND question = designer.WaitForPopup();
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(Answer(question, IDYES));
    EXPECT_TRUE(WaitUntil([&] { return !designer.Running(); }, 5000));
  }
  EXPECT_NE(ReadWholeFile(moved + "night.morvane").find("MName=scene.scr"), std::string::npos);

  const std::string built = ReadWholeFile(moved + "scene.scr");
  ASSERT_GT(built.size(), 49152u);
  EXPECT_EQ(RunProgram(ProgramFolder() + "morvane-pack.exe", "--settings \"" + moved + "night.morvane\" --player \"" +
                                                                 folder + "player.scr\" \"" + moved + "pack.scr\""),
            0u);
  EXPECT_TRUE(built == ReadWholeFile(moved + "pack.scr")) << "Create and morvane-pack differ";
  EXPECT_NE(built.find("scene comment"), std::string::npos);

  // The last scene comes back at the next start; Close Scene goes back to MORVANE.INI.
  {
    DesignerDialog designer("designer.scr", "/c", "night.morvane - Morvane");
    ASSERT_TRUE(designer.ok()) << "the remembered scene was not reopened";
    // A comment longer than a setting holds is cut where the setting ends, not when it is saved.
    ASSERT_TRUE(designer.SelectTab(kModuleTab));
    designer.SetText(1013, std::string(300, 'x'));
    EXPECT_EQ(designer.Text(1013), std::string(259, 'x'));
    PostMessageW(designer.dialog(), WM_COMMAND, kCloseScene, 0);
    HWND question = designer.WaitForPopup();
    ASSERT_NE(question, nullptr) << "the comment is an unsaved change";
    ASSERT_TRUE(Answer(question, IDNO));
    EXPECT_TRUE(TitleBecomes(designer.dialog(), L"Morvane"));
    // Ctrl+O: a file that is no scene is refused and the store stays; a scene whose picture went
    // opens, with the picture listed.
    WriteWholeFile(moved + "bad.morvane", std::string("MZ\x90\0\x03\0\0\0", 8));
    ASSERT_TRUE(DeleteFileA((moved + "pics\\frame-a.bmp").c_str()));
    struct Opening {
      const char* name;
      const wchar_t* said;
      const wchar_t* title;
    } openings[] = {{"bad.morvane", GetACP() == 932 ? L"ﾃｷｽﾄ ﾌｧｲﾙではありません" : L"is not a text file", L"Morvane"},
                    {"night.morvane", L"pics\\frame-a.bmp", L"night.morvane - Morvane"}};
    for (const Opening& opening : openings) {
      SetForegroundWindow(designer.dialog());
      PumpFor(200);
      PressChord({VK_CONTROL}, 'O');
      HWND files = designer.WaitForPopup();
      ASSERT_NE(files, nullptr) << opening.name;
      const std::string path = moved + opening.name;
      HWND nameBox = GetDlgItem(files, 1148) ? GetDlgItem(files, 1148) : GetDlgItem(files, 1152);
      SendMessageA(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
      ASSERT_TRUE(Answer(files, IDOK));
      HWND message = designer.WaitForPopup();
      ASSERT_NE(message, nullptr) << opening.name;
      EXPECT_NE(PopupText(message).find(opening.said), std::wstring::npos) << opening.name;
      ASSERT_TRUE(Answer(message, IDOK));
      EXPECT_TRUE(TitleBecomes(designer.dialog(), opening.title)) << opening.name;
    }
    EXPECT_EQ(designer.PressOk(), 0u);
  }
  ClearSettings();
  RemoveFolder(moved);
}

}  // namespace
