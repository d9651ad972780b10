// The dialog's live preview, the pictures shown with the pages and files dropped on them, in
// this process: the real dialog of the designer's code, on the settings file of the Windows
// folder, with the messages a user's edits and drops send.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "designer_driver.h"
#include "designer_resources.h"
#include "designer_state.h"
#include "live_preview.h"
#include "page_pictures.h"
#include "saver_host.h"
#include "scene_model.h"
#include "surface.h"
#include "system_text.h"
#include "windows_profile_store.h"

namespace {

std::string Folder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "morvane-preview-test\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// A 24-bit bitmap of w x h, every pixel from colour(x, y) as 0x00BBGGRR.
template <typename Colour>
std::string WriteBitmap(const std::string& name, int w, int h, Colour colour) {
  const int row = (w * 3 + 3) & ~3;
  std::vector<uint8_t> bytes(54 + row * h, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<uint32_t>(bytes.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(w));
  put32(22, static_cast<uint32_t>(h));
  bytes[26] = 1;
  bytes[28] = 24;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const uint32_t c = colour(x, y);
      uint8_t* p = &bytes[54 + (h - 1 - y) * row + x * 3];
      p[0] = static_cast<uint8_t>(c >> 16);
      p[1] = static_cast<uint8_t>(c >> 8);
      p[2] = static_cast<uint8_t>(c);
    }
  }
  const std::string path = Folder() + name;
  WriteBytes(path, bytes);
  return path;
}

// White around a red square: the corner colour is the transparent one.
std::string RedOnWhite(const std::string& name) {
  return WriteBitmap(name, 8, 8, [](int x, int y) { return x >= 2 && x < 6 && y >= 2 && y < 6 ? 0x0000FFu : 0xFFFFFFu; });
}

void Set(const char* section, const char* key, const std::string& value) {
  WritePrivateProfileStringA(section, key, value.c_str(), "MORVANE.INI");
}

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Runs the dialog's messages until done() or the time is up.
template <typename Done>
bool PumpUntil(Done done, DWORD timeoutMs = 4000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Pump();
    Sleep(10);
  }
  return true;
}

std::wstring TextOf(HWND window) {
  wchar_t text[4096];
  GetWindowTextW(window, text, 4096);
  return text;
}

// Message boxes the dialog shows while a drop is taken: their texts, each answered with OK from
// another thread, since the box holds up this one.
class PopupCatcher {
 public:
  // typed: what to type into a file dialog's name box, each followed by OK (a folder first
  // moves the dialog there). The question before a scene's unsaved changes go is answered
  // Don't Save.
  explicit PopupCatcher(HWND dialog, std::vector<std::string> typed = {})
      : dialog_(dialog), typed_(std::move(typed)), thread_([this] { Run(); }) {}
  ~PopupCatcher() { Stop(); }
  // Every box so far; the catching ends.
  std::vector<std::wstring> texts() {
    Stop();
    return texts_;
  }

 private:
  static BOOL CALLBACK Find(HWND window, LPARAM context) {
    PopupCatcher* self = reinterpret_cast<PopupCatcher*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t kind[16];
    GetClassNameW(window, kind, 16);
    if (process != GetCurrentProcessId() || window == self->dialog_ || !IsWindowVisible(window) ||
        lstrcmpW(kind, L"#32770") != 0)
      return TRUE;
    self->found_ = window;
    return FALSE;
  }
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  void Run() {
    while (!stop_) {
      found_ = nullptr;
      EnumWindows(Find, reinterpret_cast<LPARAM>(this));
      HWND nameBox = found_ ? GetDlgItem(found_, 1148) : nullptr;
      if (found_ && !nameBox) nameBox = GetDlgItem(found_, 1152);
      if (found_ && nameBox) {
        for (const std::string& text : typed_) {
          SendMessageA(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
          SendMessageW(found_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
          Sleep(500);
        }
        typed_.clear();
      } else if (found_ && GetDlgItem(found_, IDC_SAVE_CHANGES_TEXT)) {
        // Before unsaved changes of a scene file go: Don't Save.
        SendMessageW(found_, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
      } else if (found_) {
        texts_.push_back(PopupText(found_));
        SendMessageW(found_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      }
      Sleep(50);
    }
  }
  HWND dialog_;
  std::vector<std::string> typed_;
  HWND found_ = nullptr;
  std::atomic<bool> stop_{false};
  std::vector<std::wstring> texts_;
  std::thread thread_;
};

class DesignerPreview : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearSettings();
    OpenSaverHost(&host_, GetModuleHandleA(nullptr), false);
  }
  void TearDown() override {
    if (dialog_) {
      SendMessageW(dialog_, WM_COMMAND, IDOK, 0);
      DestroyWindow(dialog_);
      Pump();
    }
    ClearSettings();
  }

  void Open(int tab) {
    currentTab = static_cast<signed char>(tab);
    dialog_ = OpenDialog(&host_, MAKEINTRESOURCEA(IDD_CONFIGURATION), nullptr, ConfigurationDialogProc,
                         reinterpret_cast<LPARAM>(&host_));
    ASSERT_NE(dialog_, nullptr);
    ShowWindow(dialog_, SW_SHOW);
    Pump();
  }
  void SelectTab(int tab) {
    SendMessageW(tabControl, TCM_SETCURSEL, tab, 0);
    NMHDR change = {tabControl, 0, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(dialog_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
    Pump();
  }
  HWND Pane() const { return GetDlgItem(dialog_, IDC_PREVIEW_PANE); }
  const SceneModel* Scene() const { return LivePreviewScene(Pane()); }
  std::wstring Status() const { return TextOf(GetDlgItem(dialog_, IDC_PREVIEW_STATUS)); }
  std::wstring Fixed(UINT id) const {
    wchar_t text[512];
    LoadStringIn(&host_, id, text, 512);
    return text;
  }
  std::string Field(int id) const {
    char text[kSettingBufferSize];
    GetDlgItemTextA(currentPage, id, text, sizeof text);
    return text;
  }

  // WM_DROPFILES as the shell sends it, at a point of the dialog's client area.
  void Drop(const std::vector<std::string>& paths, POINT at) {
    std::wstring names;
    for (const std::string& path : paths) {
      wchar_t wide[MAX_PATH];
      MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
      names += wide;
      names += L'\0';
    }
    names += L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    DROPFILES* files = static_cast<DROPFILES*>(GlobalLock(memory));
    files->pFiles = sizeof(DROPFILES);
    files->pt = at;
    files->fWide = TRUE;
    memcpy(files + 1, names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    SendMessageW(dialog_, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    Pump();
  }
  POINT Centre(HWND control) const {
    RECT area;
    GetWindowRect(control, &area);
    POINT at = {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
    ScreenToClient(dialog_, &at);
    return at;
  }

  SaverHost host_;
  HWND dialog_ = nullptr;
};

uint32_t PixelOf(const Surface* surface, int x, int y) { return ReadSurfacePixel(surface, x, y); }

TEST_F(DesignerPreview, FollowsEachEditOfThePagesAndNamesWhatIsLeftOut) {
  Set("BackGround", "ColorR", "255");
  Set("BackGround", "ColorG", "0");
  Set("BackGround", "ColorB", "0");
  Open(kFirstCharacterTab);
  ASSERT_NE(Scene(), nullptr);
  EXPECT_EQ(Scene()->characterCount, 0);
  EXPECT_EQ(PixelOf(Scene()->backgroundBuffer, 0, 0), 0x0000FFu);
  EXPECT_EQ(Status(), Fixed(IDS_PREVIEW_ALL_IN));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog_, IDC_THUMBNAIL_FIRST)));

  // A picture typed into a field plays; one that is not there is named as Create names it.
  const std::string frame = RedOnWhite("red.bmp");
  SetDlgItemTextA(currentPage, 1011, frame.c_str());
  EXPECT_TRUE(PumpUntil([&] { return Scene() && Scene()->characterCount == 1; }));
  SetDlgItemTextA(currentPage, 1012, "no-such-frame.bmp");
  EXPECT_TRUE(PumpUntil([&] { return Status().find(L"no-such-frame.bmp") != std::wstring::npos; })) << Status().c_str();
  EXPECT_EQ(Status().find(Fixed(IDS_PREVIEW_ALL_IN)), std::wstring::npos);

  // A slider moved: an appearance rate of 0 keeps the character out, as in the saver.
  HWND rate = GetDlgItem(currentPage, 1053);
  SendMessageW(rate, TBM_SETPOS, TRUE, 0);
  SendMessageW(currentPage, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 0), reinterpret_cast<LPARAM>(rate));
  EXPECT_TRUE(PumpUntil([&] { return Scene() && Scene()->characterCount == 0; }));

  // A box ticked on the Background page: no colour leaves the desktop's copy instead of red.
  SelectTab(kBackgroundTab);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog_, IDC_WALLPAPER_VIEW)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog_, IDC_THUMBNAIL_FIRST)));
  SendDlgItemMessageW(currentPage, 1001, BM_CLICK, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return Scene() && !Scene()->backgroundPlain; }));

  // Space on the pane pauses it and says so; minimising pauses it too.
  SetFocus(Pane());
  SendMessageW(Pane(), WM_CHAR, L' ', 0);
  EXPECT_EQ(Status().find(Fixed(IDS_PREVIEW_PAUSED)), 0u);
  SendMessageW(Pane(), WM_CHAR, L' ', 0);
  EXPECT_EQ(Status().find(Fixed(IDS_PREVIEW_PAUSED)), std::wstring::npos);
}

TEST_F(DesignerPreview, ThumbnailsShowEachFrameOverTheBackgroundAndSayWhichFieldGaveIt) {
  Set("BackGround", "ColorR", "0");
  Set("BackGround", "ColorG", "0");
  Set("BackGround", "ColorB", "255");
  Set("Character", "C0", RedOnWhite("red.bmp"));
  Set("Character", "C1", PictureFixtureFolder() + "animated.gif");
  Set("Character", "C2", RedOnWhite("red2.bmp"));
  Set("Character", "C3", PictureFixtureFolder() + "sprite-alpha.png");  // soft edges, clear corner
  Set("Visible", "CA", "0");  // never shown, but its pictures are still the page's
  const std::string folder = Folder();
  struct Case {
    const char* transparent;
    uint32_t corner;
  } cases[] = {{"1", 0xFF0000u}, {"0", 0xFFFFFFu}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.transparent);
    Set("Initial", "Crear", c.transparent);
    CharacterThumbnails shown;
    WindowsProfileStore settings;
    MakeCharacterThumbnails(&settings, folder.c_str(), 2, &shown);
    ASSERT_EQ(shown.count, 8);  // a still picture, the animation's five frames, two still pictures
    const int slots[] = {0, 1, 1, 1, 1, 1, 2, 3};
    for (int i = 0; i < shown.count; ++i) EXPECT_EQ(shown.frames[i].slot, slots[i]) << "frame " << i;
    ASSERT_NE(shown.frames[0].picture, nullptr);
    EXPECT_EQ(SurfaceWidth(shown.frames[0].picture), 8);
    EXPECT_EQ(PixelOf(shown.frames[0].picture, 0, 0), c.corner);
    EXPECT_EQ(PixelOf(shown.frames[0].picture, 3, 3), 0x0000FFu);
    EXPECT_EQ(PixelOf(shown.frames[6].picture, 7, 7), c.corner);
    // A picture with its own transparency is marked, and shows the background through its
    // clear corner whether or not the scene's transparency is on.
    EXPECT_FALSE(shown.frames[0].ownAlpha);
    EXPECT_TRUE(shown.frames[7].ownAlpha);
    EXPECT_EQ(PixelOf(shown.frames[7].picture, 0, 0), 0xFF0000u);
    ReleaseCharacterThumbnails(&shown);
  }

  // A click on a thumbnail puts the keys in its frame's field: the animation's third frame is
  // the second field's.
  Open(kFirstCharacterTab + 2);
  SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(IDC_THUMBNAIL_FIRST + 3, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog_, IDC_THUMBNAIL_FIRST + 3)));
  EXPECT_EQ(GetFocus(), GetDlgItem(currentPage, 1012));
}

TEST_F(DesignerPreview, DroppedFilesFillFramesOrTheBackgroundAndRefusalsSayWhy) {
  const std::string red = RedOnWhite("red.bmp"), blue = WriteBitmap("blue.bmp", 4, 4, [](int, int) { return 0xFF0000u; });
  const std::string notes = Folder() + "notes.txt";
  WriteBytes(notes, std::vector<uint8_t>(64, 'x'));
  const uint8_t wave[] = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'};
  const std::string chord = Folder() + "chord.wav";
  WriteBytes(chord, std::vector<uint8_t>(wave, wave + sizeof wave));
  const std::string animation = PictureFixtureFolder() + "animated.gif", twelve = PictureFixtureFolder() + "anim12.gif";

  Open(kFirstCharacterTab);
  {
    // Several files away from any field: from the first empty field on, the text file refused.
    PopupCatcher popups(dialog_);
    Drop({red, notes, animation, blue}, POINT{2, 2});
    EXPECT_EQ(Field(1011), red);
    EXPECT_EQ(Field(1012), animation);
    EXPECT_EQ(Field(1013), blue);
    EXPECT_EQ(Field(1014), "");
    std::vector<std::wstring> said = popups.texts();
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find(L"notes.txt"), std::wstring::npos) << said[0].c_str();
    EXPECT_EQ(said[0].find(L"red.bmp"), std::wstring::npos);
  }
  {
    // Twelve frames dropped on the third field, after six frames: four of them fit and the
    // message says so; the file dropped after it finds no frame left.
    PopupCatcher popups(dialog_);
    Drop({twelve, red}, Centre(GetDlgItem(currentPage, 1013)));
    EXPECT_EQ(Field(1013), twelve);
    EXPECT_EQ(Field(1014), "");
    std::vector<std::wstring> said = popups.texts();
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find(L"anim12.gif"), std::wstring::npos) << said[0].c_str();
    EXPECT_NE(said[0].find(L"red.bmp"), std::wstring::npos) << said[0].c_str();
  }
  EXPECT_TRUE(PumpUntil([&] { return Scene() && Scene()->characterCount == 1 && Scene()->characters[0].frameCount == 10; }));

  // Minimised, the scene stands still; restored, it moves on.
  ShowWindow(dialog_, SW_MINIMIZE);
  Pump();
  const int32_t x = Scene()->characters[0].x, y = Scene()->characters[0].y;
  Sleep(400);
  Pump();
  EXPECT_TRUE(Scene()->characters[0].x == x && Scene()->characters[0].y == y);
  ShowWindow(dialog_, SW_RESTORE);
  EXPECT_TRUE(PumpUntil([&] { return Scene()->characters[0].x != x || Scene()->characters[0].y != y; }));

  // On the Background page a picture becomes the wallpaper and a wave the sound, boxes ticked.
  SelectTab(kBackgroundTab);
  {
    PopupCatcher popups(dialog_);
    Drop({chord, blue}, POINT{2, 2});
    EXPECT_TRUE(popups.texts().empty());
  }
  EXPECT_EQ(Field(1011), blue);
  EXPECT_EQ(Field(1012), chord);
  EXPECT_EQ(IsDlgButtonChecked(currentPage, 1002), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(currentPage, 1005), BST_CHECKED);

  // The Browse dialog takes several pictures and fills frames from its row as a drop does.
  SelectTab(kFirstCharacterTab + 1);
  {
    PopupCatcher popups(dialog_, {Folder(), "\"red.bmp\" \"blue.bmp\""});
    SendMessageW(currentPage, WM_COMMAND, MAKEWPARAM(1032, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(currentPage, 1032)));
    EXPECT_TRUE(popups.texts().empty());
  }
  EXPECT_EQ(lstrcmpiA(Field(1012).c_str(), red.c_str()), 0) << Field(1012);
  EXPECT_EQ(lstrcmpiA(Field(1013).c_str(), blue.c_str()), 0) << Field(1013);
  EXPECT_EQ(Field(1011), "");
}

TEST_F(DesignerPreview, PlaysAnOpenedSceneFileWithItsNamesInItsFolderAndLeavesItWhenItCloses) {
  // The same relative name: not in the designer's folder, but beside the scene file, whose
  // second character MORVANE.INI does not have.
  Set("Character", "A0", "scene-red.bmp");
  CreateDirectoryA((Folder() + "scene").c_str(), nullptr);
  RedOnWhite("scene\\scene-red.bmp");
  const std::string scene = Folder() + "scene\\red.morvane";
  const std::string text = "[Character]\r\nA0=scene-red.bmp\r\nB0=scene-red.bmp\r\n";
  WriteBytes(scene, std::vector<uint8_t>(text.begin(), text.end()));
  Open(kFirstCharacterTab);
  ASSERT_NE(Scene(), nullptr);
  EXPECT_EQ(Scene()->characterCount, 0);
  EXPECT_NE(Status().find(L"scene-red.bmp"), std::wstring::npos) << Status().c_str();

  {
    PopupCatcher popups(dialog_, {scene});
    SendMessageW(dialog_, WM_COMMAND, IDM_SCENE_OPEN, 0);
    EXPECT_TRUE(popups.texts().empty());
  }
  EXPECT_TRUE(PumpUntil([&] { return Scene() && Scene()->characterCount == 2; })) << Status().c_str();
  EXPECT_EQ(Status(), Fixed(IDS_PREVIEW_ALL_IN));
  EXPECT_EQ(TextOf(dialog_), L"red.morvane - Morvane");

  // A drop is a change of the scene as typing is: the title bar marks it, its box is ticked.
  SelectTab(kBackgroundTab);
  {
    PopupCatcher popups(dialog_);
    Drop({Folder() + "scene\\scene-red.bmp"}, POINT{2, 2});
    EXPECT_TRUE(popups.texts().empty());
  }
  EXPECT_EQ(TextOf(dialog_), L"*red.morvane - Morvane");
  EXPECT_EQ(IsDlgButtonChecked(currentPage, 1002), BST_CHECKED);
  SelectTab(kFirstCharacterTab);

  // An edit of the opened scene plays over it, its names still in the scene's folder.
  SetDlgItemTextA(currentPage, 1012, "scene-none.bmp");
  EXPECT_TRUE(PumpUntil([&] { return Status().find(L"scene-none.bmp") != std::wstring::npos; })) << Status().c_str();
  EXPECT_EQ(Scene()->characterCount, 2);
  EXPECT_EQ(Status().find(L"scene-red.bmp"), std::wstring::npos) << Status().c_str();

  // Closed, the scene's edit is gone with it and MORVANE.INI plays again.
  {
    PopupCatcher popups(dialog_);
    SendMessageW(dialog_, WM_COMMAND, IDM_SCENE_CLOSE, 0);
    EXPECT_TRUE(popups.texts().empty());
  }
  EXPECT_TRUE(PumpUntil([&] { return Scene() && Scene()->characterCount == 0; }));
  EXPECT_NE(Status().find(L"scene-red.bmp"), std::wstring::npos) << Status().c_str();
  EXPECT_EQ(Status().find(L"scene-none.bmp"), std::wstring::npos) << Status().c_str();
  DeleteFileA(scene.c_str());
}

}  // namespace
