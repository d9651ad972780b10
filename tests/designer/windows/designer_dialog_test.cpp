// The configuration dialog driven from outside: closing, tab switching, and what each page
// reads from and writes to MORVANE.INI.
#include <gtest/gtest.h>

#include "designer_driver.h"
#include "system_language.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include "input_events.h"

namespace {

const int kBackgroundTab = 1, kModuleTab = 22;
int CharacterTab(int character) { return 2 + character; }

class DesignerPages : public testing::Test {
 protected:
  void SetUp() override { ClearSettings(); }
  void TearDown() override { ClearSettings(); }
};

TEST_F(DesignerPages, OkAtOnceWritesNothingEscapeIsIgnoredAndTheExitValueIsZero) {
  DesignerDialog designer;
  ASSERT_TRUE(designer.ok());
  EXPECT_EQ(designer.CurrentTab(), 0);
  EXPECT_EQ(SendMessageW(designer.tabs(), TCM_GETITEMCOUNT, 0, 0), 23);
  EXPECT_TRUE(IsWindowUnicode(designer.dialog())) << "the NT family takes the wide calls";
  designer.Screenshot("page-info");

  // Escape reaches a dialog as IDCANCEL; there is no cancel path.
  PostMessageW(designer.dialog(), WM_COMMAND, IDCANCEL, 0);
  PostMessageW(designer.dialog(), WM_KEYDOWN, VK_ESCAPE, 0);
  PumpFor(500);
  EXPECT_TRUE(designer.Running());
  EXPECT_EQ(designer.PressOk(), 0u);
  EXPECT_EQ(ReadWholeFile(SettingsFilePath()), "") << "the Info page saves nothing";
}

TEST_F(DesignerPages, EachPageSavesUnderItsOwnTabAndTheCloseButtonSavesLikeOk) {
  WriteSettings(
      "[Character]\r\nD0=d-first.bmp\r\nD9=d-last.bmp\r\n"
      "[Speed]\r\nDX=-33\r\nDY=12\r\nDZ=0\r\n"
      "[Pattern]\r\nDX=0\r\nDY=1\r\nDZ=0\r\nDA=1\r\n"
      "[Visible]\r\nDA=4\r\n");
  DesignerDialog designer;
  ASSERT_TRUE(designer.ok());
  ASSERT_TRUE(designer.SelectTab(kBackgroundTab));
  designer.Screenshot("page-background");

  ASSERT_TRUE(designer.SelectTab(CharacterTab(2)));  // "画像3"
  designer.SetText(1011, "c-first.bmp");
  designer.SetText(1013, "c-third.bmp");
  designer.SetCheck(1002, false);
  designer.SetCheck(1005, true);
  designer.SliderKey(1050, VK_END);
  EXPECT_EQ(designer.Text(1025), "70") << "the value follows the slider";
  designer.Screenshot("page-character");

  ASSERT_TRUE(designer.SelectTab(CharacterTab(3)));  // "画像4": C is saved first, then D is read
  EXPECT_EQ(StoredValue("Character", "C0"), "c-first.bmp");
  EXPECT_EQ(StoredValue("Character", "C1"), "");
  EXPECT_EQ(StoredValue("Character", "C2"), "c-third.bmp");
  EXPECT_EQ(StoredValue("Character", "C9"), "");
  EXPECT_EQ(StoredValue("Speed", "CX"), "70");
  EXPECT_EQ(StoredValue("Speed", "CY"), "10");
  EXPECT_EQ(StoredValue("Pattern", "CX"), "1");
  EXPECT_EQ(StoredValue("Pattern", "CY"), "0");
  EXPECT_EQ(StoredValue("Pattern", "CA"), "1");
  EXPECT_EQ(StoredValue("Visible", "CA"), "10");
  EXPECT_EQ(StoredValue("Speed", "CA"), kAbsent) << "the frame step is not on the page";
  EXPECT_EQ(designer.Text(1011), "d-first.bmp");
  EXPECT_EQ(designer.Text(1020), "d-last.bmp");
  EXPECT_EQ(designer.TrackbarPos(1050), -33);
  EXPECT_EQ(designer.Text(1025), "-33");
  EXPECT_EQ(designer.Text(1026), "12");
  EXPECT_EQ(designer.Text(1027), "0");
  EXPECT_FALSE(designer.Checked(1001));
  EXPECT_TRUE(designer.Checked(1002));
  EXPECT_FALSE(designer.Checked(1003));
  EXPECT_TRUE(designer.Checked(1005));
  EXPECT_EQ(designer.TrackbarPos(1053), 4);
  EXPECT_EQ(designer.Text(1028), "4");

  ASSERT_TRUE(designer.SelectTab(CharacterTab(19)));  // "画像20"
  designer.SetText(1011, "t-first.bmp");
  ASSERT_TRUE(designer.SelectTab(kModuleTab));
  EXPECT_EQ(StoredValue("Character", "T0"), "t-first.bmp");
  EXPECT_EQ(StoredValue("Visible", "TA"), "10");
  designer.SetText(1011, "evening.scr");
  designer.SetText(1012, "first comment");
  designer.SetText(1016, "last comment");
  designer.Screenshot("page-module");

  EXPECT_EQ(designer.CloseWithCaptionButton(), 0u);
  EXPECT_EQ(StoredValue("Module", "MName"), "evening.scr");
  EXPECT_EQ(StoredValue("Module", "Memo1"), "first comment");
  EXPECT_EQ(StoredValue("Module", "Memo2"), "");
  EXPECT_EQ(StoredValue("Module", "Memo5"), "last comment");
  EXPECT_EQ(StoredValue("Character", "D0"), "d-first.bmp") << "every page shown was saved";
  EXPECT_EQ(StoredValue("Pattern", "DX"), "0");
}

TEST_F(DesignerPages, TheCharacterPageNamesTheFramesDrawnWithTheirOwnTransparency) {
  const std::string folder = DesignerFolder();
  for (const char* name : {"sprite-alpha.png", "photo.jpg"})
    ASSERT_TRUE(CopyFileA((PictureFixtureFolder() + name).c_str(), (folder + name).c_str(), FALSE)) << name;
  WriteSettings("[Character]\r\nA0=photo.jpg\r\nA1=sprite-alpha.png\r\nB0=photo.jpg\r\n");
  DesignerDialog designer;
  ASSERT_TRUE(designer.ok());
  ASSERT_TRUE(designer.SelectTab(CharacterTab(0)));
  const std::string said = designer.Text(1070);
  ASSERT_GE(said.size(), 3u);
  EXPECT_EQ(said.substr(said.size() - 3), ": 2") << said;
  ASSERT_TRUE(designer.SelectTab(CharacterTab(1)));
  EXPECT_EQ(GetDlgItem(designer.Page(), 1070), nullptr) << "a JPEG frame has no transparency of its own";
  EXPECT_EQ(designer.PressOk(), 0u);
}

TEST_F(DesignerPages, AbsentFileOpensWithDefaultsAndClosingWritesThem) {
  DesignerDialog designer;
  ASSERT_TRUE(designer.ok());
  ASSERT_TRUE(designer.SelectTab(kBackgroundTab));
  EXPECT_EQ(designer.TrackbarPos(1050), 10);
  EXPECT_EQ(SendMessageW(designer.Trackbar(1050), TBM_GETRANGEMIN, 0, 0), 1);
  EXPECT_EQ(SendMessageW(designer.Trackbar(1050), TBM_GETRANGEMAX, 0, 0), 50);
  for (int box = 1001; box <= 1005; ++box) EXPECT_FALSE(designer.Checked(box)) << box;
  EXPECT_EQ(designer.Text(1011), "");

  ASSERT_TRUE(designer.SelectTab(CharacterTab(0)));
  for (int slider = 1050; slider <= 1052; ++slider) {
    EXPECT_EQ(designer.TrackbarPos(slider), 10) << slider;
    EXPECT_EQ(SendMessageW(designer.Trackbar(slider), TBM_GETRANGEMIN, 0, 0), -70);
    EXPECT_EQ(SendMessageW(designer.Trackbar(slider), TBM_GETRANGEMAX, 0, 0), 70);
  }
  for (int field = 1025; field <= 1028; ++field) EXPECT_EQ(designer.Text(field), "10") << field;
  EXPECT_EQ(SendMessageW(designer.Trackbar(1053), TBM_GETRANGEMAX, 0, 0), 10);
  EXPECT_TRUE(designer.Checked(1001) && designer.Checked(1002) && designer.Checked(1003));
  EXPECT_FALSE(designer.Checked(1005));
  EXPECT_EQ(designer.PressOk(), 0u);

  const char* background[][3] = {{"Initial", "Timer2", "10"}, {"BackGround", "Bmp", ""}, {"BackGround", "Sound", ""},
                                 {"BackGround", "Erase", "0"}, {"Initial", "Crear", "0"}, {"BackGround", "BmpOpt1", "0"},
                                 {"BackGround", "BmpOpt2", "0"}, {"BackGround", "SoundOpt", "0"}};
  for (auto& key : background) EXPECT_EQ(StoredValue(key[0], key[1]), key[2]) << key[1];
  EXPECT_EQ(StoredValue("BackGround", "ColorR"), kAbsent) << "the colour is written only by the colour dialog";
  for (char slot = '0'; slot <= '9'; ++slot) EXPECT_EQ(StoredValue("Character", std::string("A") + slot), "");
  EXPECT_EQ(StoredValue("Speed", "AX"), "10");
  EXPECT_EQ(StoredValue("Speed", "AZ"), "10");
  EXPECT_EQ(StoredValue("Pattern", "AY"), "1");
  EXPECT_EQ(StoredValue("Pattern", "AA"), "0");
  EXPECT_EQ(StoredValue("Visible", "AA"), "10");
  EXPECT_EQ(StoredValue("Character", "B0"), kAbsent) << "pages never shown stay absent";
}

TEST_F(DesignerPages, StoredValuesAreClampedAndNormalisedThroughThePages) {
  WriteSettings(
      "[Initial]\r\nTimer2=80\r\n"
      "[BackGround]\r\nBmp=C:\\missing\\wall.bmp\r\nSoundOpt=7\r\n"
      "[Speed]\r\nAX=\r\nBX=100\r\nBY=100\r\n"
      "[Pattern]\r\nAX=5\r\n"
      "[Visible]\r\nAA=12\r\n");
  DesignerDialog designer;
  ASSERT_TRUE(designer.ok());
  ASSERT_TRUE(designer.SelectTab(kBackgroundTab));
  EXPECT_EQ(designer.TrackbarPos(1050), 50);
  EXPECT_TRUE(designer.Checked(1005));
  EXPECT_EQ(designer.Text(1011), "C:\\missing\\wall.bmp");

  ASSERT_TRUE(designer.SelectTab(CharacterTab(0)));
  EXPECT_EQ(designer.TrackbarPos(1050), 0) << "an empty value is 0, not the default";
  EXPECT_EQ(designer.Text(1025), "");
  EXPECT_TRUE(designer.Checked(1001));
  EXPECT_EQ(designer.TrackbarPos(1053), 10);
  EXPECT_EQ(designer.Text(1028), "12");

  ASSERT_TRUE(designer.SelectTab(CharacterTab(1)));
  EXPECT_EQ(designer.TrackbarPos(1050), 70);
  EXPECT_EQ(designer.Text(1025), "100") << "the stored text until the slider moves";
  EXPECT_EQ(designer.Text(1026), "100");
  designer.SliderKey(1050, VK_HOME);
  EXPECT_EQ(designer.Text(1025), "-70");
  designer.SliderKey(1050, VK_RIGHT);
  EXPECT_EQ(designer.Text(1025), "-69");
  EXPECT_EQ(designer.Text(1026), "100") << "only the moved slider's field changes";
  EXPECT_EQ(designer.PressOk(), 0u);

  EXPECT_EQ(StoredValue("Initial", "Timer2"), "50");
  EXPECT_EQ(StoredValue("BackGround", "Bmp"), "C:\\missing\\wall.bmp");
  EXPECT_EQ(StoredValue("BackGround", "SoundOpt"), "1");
  EXPECT_EQ(StoredValue("Speed", "AX"), "0");
  EXPECT_EQ(StoredValue("Pattern", "AX"), "1");
  EXPECT_EQ(StoredValue("Visible", "AA"), "10");
  EXPECT_EQ(StoredValue("Speed", "BX"), "-69");
  EXPECT_EQ(StoredValue("Speed", "BY"), "70");
}

RECT ChildRect(HWND parent, HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The third group box of the Background page holds the animation-speed slider.
HWND SpeedGroupBox(HWND page) {
  HWND child = nullptr;
  for (int i = 0; i < 3; ++i) child = FindWindowExW(page, child, L"Button", nullptr);
  return child;
}

TEST_F(DesignerPages, RangesComeFromTheStoreAndSlidersStayInTheirPlaces) {
  // Run again at another resolution (designer_program_tests_144dpi), where sliders kept at
  // their listed pixels would leave their group box and rows.
  char expected[8];
  if (GetEnvironmentVariableA("MORVANE_EXPECTED_DPI", expected, sizeof expected)) {
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), atoi(expected));
    ReleaseDC(nullptr, screen);
  }
  // The ends are the low 16 bits of what the file holds: 65541 is 5 and 131092 is 20.
  WriteSettings("[Initial]\r\nAniSpeedMin=65541\r\nAniSpeedMax=131092\r\nTimer2=3\r\nSpeedMin=-10 units\r\nSpeedMax=10\r\n"
                "[Speed]\r\nAX=45\r\n");
  DesignerDialog designer;
  ASSERT_TRUE(designer.ok());
  ASSERT_TRUE(designer.SelectTab(kBackgroundTab));
  EXPECT_EQ(SendMessageW(designer.Trackbar(1050), TBM_GETRANGEMIN, 0, 0), 5);
  EXPECT_EQ(SendMessageW(designer.Trackbar(1050), TBM_GETRANGEMAX, 0, 0), 20);
  EXPECT_EQ(designer.TrackbarPos(1050), 5);
  RECT group = ChildRect(designer.Page(), SpeedGroupBox(designer.Page()));
  RECT slider = ChildRect(designer.Page(), designer.Trackbar(1050));
  EXPECT_GE(slider.left, group.left);
  EXPECT_LE(slider.right, group.right);
  EXPECT_GE(slider.top, group.top);
  EXPECT_LE(slider.bottom, group.bottom);

  ASSERT_TRUE(designer.SelectTab(CharacterTab(0)));
  EXPECT_EQ(SendMessageW(designer.Trackbar(1051), TBM_GETRANGEMIN, 0, 0), -10);
  EXPECT_EQ(SendMessageW(designer.Trackbar(1051), TBM_GETRANGEMAX, 0, 0), 10);
  EXPECT_EQ(designer.TrackbarPos(1050), 10);
  EXPECT_EQ(designer.Text(1025), "45");
  // Each speed slider lies on the row of its value field.
  auto slidersOnTheirRows = [&] {
    for (int axis = 0; axis < 3; ++axis) {
      RECT field = ChildRect(designer.Page(), GetDlgItem(designer.Page(), 1025 + axis));
      RECT bar = ChildRect(designer.Page(), designer.Trackbar(1050 + axis));
      EXPECT_LT(bar.top, field.bottom) << axis;
      EXPECT_GT(bar.bottom, field.top) << axis;
    }
  };
  slidersOnTheirRows();
  // After a change of scale the page is made again, with its values and its sliders in place.
  HWND before = designer.Page();
  PostMessageW(designer.dialog(), WM_APP + 1, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return designer.Page() != nullptr && designer.Page() != before; }));
  EXPECT_EQ(designer.CurrentTab(), CharacterTab(0));
  EXPECT_EQ(designer.TrackbarPos(1050), 10);
  slidersOnTheirRows();
  EXPECT_EQ(designer.PressOk(), 0u);
  EXPECT_EQ(StoredValue("Initial", "Timer2"), "5");
  EXPECT_EQ(StoredValue("Speed", "AX"), "10");
}

// The colour in the middle of the Background page's swatch, 0x00RRGGBB: as soon as it is the
// expected one, or as it is after three seconds (a busy machine may draw the page late).
uint32_t SwatchColour(const DesignerDialog& designer, uint32_t expected) {
  uint32_t shown = 0xFFFFFFFF;
  WaitUntil([&] {
    RECT swatch;
    if (!GetWindowRect(GetDlgItem(designer.Page(), 1060), &swatch)) return false;
    int x = (swatch.left + swatch.right) / 2, y = (swatch.top + swatch.bottom) / 2;
    shown = ScreenPixels({x, y, x + 1, y + 1})[0];
    return shown == expected;
  }, 3000);
  return shown;
}

TEST_F(DesignerPages, ColourDialogWritesAtOnceOnlyWhenConfirmedAndTheSwatchShowsIt) {
  WriteSettings("[BackGround]\r\nColorR=300\r\n");
  DesignerDialog designer;
  ASSERT_TRUE(designer.ok());
  ASSERT_TRUE(designer.SelectTab(kBackgroundTab));

  EXPECT_EQ(SwatchColour(designer, 0x2C0000u), 0x2C0000u) << "red 44, the low byte of 300";

  designer.Click(1031);
  HWND colours = designer.WaitForPopup();
  ASSERT_NE(colours, nullptr);
  char red[16] = "";
  SendMessageA(GetDlgItem(colours, 706), WM_GETTEXT, sizeof red, reinterpret_cast<LPARAM>(red));
  EXPECT_STREQ(red, "44") << "300 is preselected as its low byte";
  ASSERT_TRUE(Answer(colours, IDCANCEL));
  PumpFor(300);
  EXPECT_EQ(StoredValue("BackGround", "ColorR"), "300");
  EXPECT_EQ(StoredValue("BackGround", "ColorG"), kAbsent);

  designer.Click(1031);
  colours = designer.WaitForPopup();
  ASSERT_NE(colours, nullptr);
  SendMessageA(GetDlgItem(colours, 706), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("12"));
  SendMessageA(GetDlgItem(colours, 707), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("200"));
  SendMessageA(GetDlgItem(colours, 708), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("99"));
  ASSERT_TRUE(Answer(colours, IDOK));
  EXPECT_TRUE(WaitUntil([] { return StoredValue("BackGround", "ColorB") != kAbsent; }, 3000));
  EXPECT_EQ(StoredValue("BackGround", "ColorR"), "12") << "written before the page closes";
  EXPECT_EQ(StoredValue("BackGround", "ColorG"), "200");
  EXPECT_EQ(StoredValue("BackGround", "ColorB"), "99");
  EXPECT_EQ(SwatchColour(designer, 0x0CC863u), 0x0CC863u) << "the swatch follows the choice";
  designer.Screenshot("page-background-colour");
  EXPECT_EQ(designer.PressOk(), 0u);
  EXPECT_EQ(StoredValue("BackGround", "ColorR"), "12");
}

}  // namespace

namespace {

// The open-file dialog's name box: a combo box in the dialog's newer form, an edit in the older.
HWND FileNameBox(HWND fileDialog) {
  HWND box = GetDlgItem(fileDialog, 1148);
  return box ? box : GetDlgItem(fileDialog, 1152);
}

// The kinds of file the open-file dialog offers, as its type list shows them.
std::vector<std::wstring> FileTypes(HWND fileDialog) {
  HWND list = GetDlgItem(fileDialog, 1136);  // cmb1
  std::vector<std::wstring> types;
  LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[256] = L"";
    if (SendMessageW(list, CB_GETLBTEXTLEN, i, 0) < 255) SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    types.push_back(text);
  }
  return types;
}

std::vector<std::wstring> PictureTypes() {
  return {SystemText(L"すべての画像ﾌｧｲﾙ (*.bmp;*.png;*.jpg;*.gif)", L"All pictures (*.bmp;*.png;*.jpg;*.gif)"),
          SystemText(L"ﾋﾞｯﾄﾏｯﾌﾟ ﾌｧｲﾙ (*.bmp)", L"Bitmap files (*.bmp)"),
          SystemText(L"PNG ﾌｧｲﾙ (*.png)", L"PNG files (*.png)"),
          SystemText(L"JPEG ﾌｧｲﾙ (*.jpg;*.jpeg)", L"JPEG files (*.jpg;*.jpeg)"),
          SystemText(L"GIF ﾌｧｲﾙ (*.gif)", L"GIF files (*.gif)")};
}

std::vector<std::wstring> SoundTypes() {
  return {SystemText(L"すべてのｻｳﾝﾄﾞ ﾌｧｲﾙ (*.wav;*.mp3;*.ogg;*.flac)", L"All sounds (*.wav;*.mp3;*.ogg;*.flac)"),
          SystemText(L"ｳｪｰﾌﾞ ﾌｧｲﾙ (*.wav)", L"Wave files (*.wav)"), SystemText(L"MP3 ﾌｧｲﾙ (*.mp3)", L"MP3 files (*.mp3)"),
          SystemText(L"Ogg Vorbis ﾌｧｲﾙ (*.ogg)", L"Ogg Vorbis files (*.ogg)"),
          SystemText(L"FLAC ﾌｧｲﾙ (*.flac)", L"FLAC files (*.flac)")};
}

TEST_F(DesignerPages, BrowseDialogsFillTheFieldOnlyWhenConfirmed) {
  std::string folder = DesignerFolder();
  DesignerCopy();
  // A file in another folder: the file dialog moves the current folder there.
  std::string browsed = folder + "browsed\\";
  CreateDirectoryA(browsed.c_str(), nullptr);
  WriteWholeFile(browsed + "chosen.bmp", "BM");
  WriteSettings("[BackGround]\r\nBmp=C:\\missing\\wall.bmp\r\n[Module]\r\nMName=Demo.Scr\r\n");
  DesignerDialog designer;
  ASSERT_TRUE(designer.ok());

  ASSERT_TRUE(designer.SelectTab(kBackgroundTab));
  designer.Click(1032);
  HWND files = designer.WaitForPopup();
  ASSERT_NE(files, nullptr);
  EXPECT_EQ(WindowTextW(files), SystemText(L"壁紙の画像ﾌｧｲﾙの設定", L"Choose the Wallpaper Picture"));
  EXPECT_EQ(FileTypes(files), PictureTypes());
  const std::wstring openButton = WindowTextW(GetDlgItem(files, IDOK));
  ASSERT_TRUE(Answer(files, IDCANCEL));
  EXPECT_EQ(designer.Text(1011), "C:\\missing\\wall.bmp") << "a cancel leaves the field as it was";
  EXPECT_FALSE(designer.Checked(1002)) << "nor ticks the wallpaper's box";
  designer.Click(1033);
  files = designer.WaitForPopup();
  ASSERT_NE(files, nullptr);
  EXPECT_EQ(WindowTextW(files), SystemText(L"ｻｳﾝﾄﾞ ﾌｧｲﾙの設定", L"Choose the Sound File"));
  EXPECT_EQ(FileTypes(files), SoundTypes());
  ASSERT_TRUE(Answer(files, IDCANCEL));

  ASSERT_TRUE(designer.SelectTab(CharacterTab(0)));
  designer.Click(1033);  // the browse button of frame slot 3
  files = designer.WaitForPopup();
  ASSERT_NE(files, nullptr);
  EXPECT_EQ(WindowTextW(files), SystemText(L"ｺﾏの画像ﾌｧｲﾙの設定", L"Choose the Frame's Picture"));
  EXPECT_EQ(FileTypes(files), PictureTypes());
  std::string chosen = browsed + "chosen.bmp";
  SendMessageA(FileNameBox(files), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chosen.c_str()));
  ASSERT_TRUE(Answer(files, IDOK));
  EXPECT_EQ(lstrcmpiA(designer.Text(1013).c_str(), chosen.c_str()), 0) << designer.Text(1013);
  EXPECT_EQ(designer.Text(1011), "");

  // A wallpaper chosen is a wallpaper to be shown.
  ASSERT_TRUE(designer.SelectTab(kBackgroundTab));
  designer.Click(1032);
  files = designer.WaitForPopup();
  ASSERT_NE(files, nullptr);
  SendMessageA(FileNameBox(files), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chosen.c_str()));
  ASSERT_TRUE(Answer(files, IDOK));
  EXPECT_TRUE(designer.Checked(1002));

  ASSERT_TRUE(designer.SelectTab(kModuleTab));
  designer.Click(1031);
  files = designer.WaitForPopup();
  ASSERT_NE(files, nullptr);
  EXPECT_EQ(WindowTextW(files), SystemText(L"ｽｸﾘｰﾝ ｾｲﾊﾞｰの作成", L"Create a Screen Saver"));
  EXPECT_NE(WindowTextW(GetDlgItem(files, IDOK)), openButton) << "a save dialog, for a file to be written";
  ASSERT_TRUE(Answer(files, IDCANCEL));
  EXPECT_EQ(designer.Text(1011), "demo.scr") << "the name is fixed up after a cancel too";
  designer.SetText(1011, "");
  designer.Click(1031);
  files = designer.WaitForPopup();
  ASSERT_NE(files, nullptr);
  ASSERT_TRUE(Answer(files, IDCANCEL));
  EXPECT_EQ(designer.Text(1011), ".scr");
  // Naming a file that exists asks nothing here: Create asks when it is about to replace it.
  std::string existing = browsed + "Existing.SCR";
  WriteWholeFile(existing, "old");
  designer.Click(1031);
  files = designer.WaitForPopup();
  ASSERT_NE(files, nullptr);
  SendMessageA(FileNameBox(files), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(existing.c_str()));
  ASSERT_TRUE(Answer(files, IDOK));
  EXPECT_EQ(designer.WaitForPopup(800), nullptr) << "no question from the file dialog";
  EXPECT_EQ(lstrcmpiA(designer.Text(1011).c_str(), existing.c_str()), 0) << designer.Text(1011);
  EXPECT_EQ(ReadWholeFile(existing), "old");
  designer.SetText(1011, ".scr");
  // Create then writes a file whose whole name is ".scr", beside the designer, not in the folder
  // last browsed.
  DeleteFileA((folder + ".scr").c_str());
  DeleteFileA((browsed + ".scr").c_str());
  designer.Click(1032);
  HWND done = designer.WaitForPopup();
  ASSERT_NE(done, nullptr);
  // The browsed picture went into frame 3 of a character without a first frame: the saver is
  // written, and the message says that picture is not in it.
  const std::wstring said = PopupText(done);
  EXPECT_EQ(said.find(SystemText(L"現在の設定でスクリーンセイバーを作成しましたが、", L"The screen saver was created")), 0u)
      << said;
  EXPECT_NE(said.find(L"chosen.bmp"), std::wstring::npos) << said;
  EXPECT_NE(said.find(SystemText(L"その前の 1 コマ目が空いているため", L"left out because frame 1 before it is empty")),
            std::wstring::npos)
      << said;
  ASSERT_TRUE(Answer(done, IDOK));
  EXPECT_GT(ReadWholeFile(folder + ".scr").size(), 49152u);
  EXPECT_EQ(GetFileAttributesA((browsed + ".scr").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(designer.PressOk(), 0u);
  EXPECT_EQ(lstrcmpiA(StoredValue("Character", "A2").c_str(), chosen.c_str()), 0);
  EXPECT_EQ(StoredValue("Module", "MName"), ".scr");
}

}  // namespace

namespace {

// Data bytes stay in the system's code page: on a Japanese system a Shift-JIS path goes to the
// settings byte for byte, and the name fix-up leaves the second byte of a double-byte
// character alone.
TEST_F(DesignerPages, ShiftJisTextOnAJapaneseSystem) {
  if (GetACP() != 932) GTEST_SKIP() << "runs under the Japanese locale (designer_program_tests_japanese)";
  const std::string path = "\x89\xe6\x91\x9c\\\x82\xcb\x82\xb1.bmp";  // 画像\ねこ.bmp
  const std::string name = "\x83\x41Z";                               // アZ: the second byte is "A"
  DesignerDialog designer;
  ASSERT_TRUE(designer.ok());
  ASSERT_TRUE(designer.SelectTab(CharacterTab(0)));
  designer.SetText(1011, path);
  ASSERT_TRUE(designer.SelectTab(kModuleTab));
  EXPECT_EQ(StoredValue("Character", "A0"), path);
  designer.SetText(1011, name);
  designer.Click(1031);
  HWND files = designer.WaitForPopup();
  ASSERT_NE(files, nullptr);
  ASSERT_TRUE(Answer(files, IDCANCEL));
  EXPECT_EQ(designer.Text(1011), "\x83\x41z.scr");
  designer.Screenshot("page-module-shift-jis");
  EXPECT_EQ(designer.PressOk(), 0u);
  EXPECT_EQ(StoredValue("Module", "MName"), "\x83\x41z.scr");
}

}  // namespace

namespace {

HWND HelpViewer() { return FindWindowA("MS_WINHELP", nullptr); }

bool HelpViewerProcessRunning() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
    found = lstrcmpiW(entry.szExeFile, L"winhlp32.exe") == 0;
  CloseHandle(snapshot);
  return found;
}

const int kTopics = 1101, kGuideText = 1102;

std::wstring ShownTopic(HWND guide) {
  HWND list = GetDlgItem(guide, kTopics);
  LRESULT topic = SendMessageW(list, LB_GETCURSEL, 0, 0);
  wchar_t title[256] = L"";
  if (topic >= 0 && SendMessageW(list, LB_GETTEXTLEN, topic, 0) < 256)
    SendMessageW(list, LB_GETTEXT, topic, reinterpret_cast<LPARAM>(title));
  return title;
}

std::wstring SelectedText(HWND guide) {
  HWND text = GetDlgItem(guide, kGuideText);
  DWORD selection = static_cast<DWORD>(SendMessageW(text, EM_GETSEL, 0, 0));
  return WindowTextW(text).substr(LOWORD(selection), HIWORD(selection) - LOWORD(selection));
}

TEST_F(DesignerPages, HelpShowsTheBuiltInGuideAtThePageOrControlAndStartsNoViewer) {
  // A help file beside the designer does not bring back a viewer that this system lacks.
  DesignerCopy();
  WriteWholeFile(DesignerFolder() + "MORVANE.HLP", std::string("?_\x03\x00", 4));
  ASSERT_EQ(HelpViewer(), nullptr) << "a help viewer from before is still open";
  DesignerDialog designer;
  ASSERT_TRUE(designer.ok());

  PostMessageW(designer.dialog(), WM_COMMAND, 3001, 0);
  HWND guide = designer.WaitForPopup();
  ASSERT_NE(guide, nullptr);
  EXPECT_EQ(WindowTextW(guide), SystemText(L"Morvane ヘルプ", L"Morvane Help")) << "in the dialog's language";
  EXPECT_EQ(SendDlgItemMessageW(guide, kTopics, LB_GETCOUNT, 0, 0), 8);
  // Every topic's title shows whole in the list.
  {
    HWND topics = GetDlgItem(guide, kTopics);
    RECT list;
    GetClientRect(topics, &list);
    HDC context = GetDC(topics);
    HGDIOBJ old = SelectObject(context, reinterpret_cast<HFONT>(SendMessageW(topics, WM_GETFONT, 0, 0)));
    for (LRESULT i = 0; i < SendMessageW(topics, LB_GETCOUNT, 0, 0); ++i) {
      wchar_t title[128] = L"";
      if (SendMessageW(topics, LB_GETTEXTLEN, i, 0) < 127) SendMessageW(topics, LB_GETTEXT, i, reinterpret_cast<LPARAM>(title));
      SIZE extent = {};
      GetTextExtentPoint32W(context, title, lstrlenW(title), &extent);
      EXPECT_LE(extent.cx + 4, list.right) << "topic " << i << " is cut";
    }
    SelectObject(context, old);
    ReleaseDC(topics, context);
  }
  EXPECT_EQ(ShownTopic(guide), SystemText(L"シーンの作り方", L"Making a scene")) << "the Info page's topic";
  EXPECT_NE(WindowTextW(GetDlgItem(guide, kGuideText)).find(L"Ctrl+Tab"), std::wstring::npos);
  EXPECT_EQ(SelectedText(guide), L"") << "a page's help selects nothing";
  ASSERT_TRUE(Answer(guide, IDCANCEL)) << "Escape closes it";

  ASSERT_TRUE(designer.SelectTab(kBackgroundTab));
  HWND label = FindWindowExW(designer.Page(), nullptr, L"Static", nullptr);
  ASSERT_NE(label, nullptr);
  PostMessageW(designer.Page(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(label), 0);
  EXPECT_EQ(designer.WaitForPopup(1500), nullptr) << "a label has no help";

  PostMessageW(designer.Page(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(GetDlgItem(designer.Page(), 1004)), 0);
  guide = designer.WaitForPopup();
  ASSERT_NE(guide, nullptr);
  EXPECT_EQ(ShownTopic(guide), SystemText(L"「背景」ページ", L"The Background page"));
  EXPECT_EQ(SelectedText(guide).find(SystemText(L"表示する画像の背景を透明にする：", L"Transparent image backgrounds:")), 0u) << "the control's own paragraph";
  designer.Screenshot("help-guide");
  ASSERT_TRUE(Answer(guide, IDOK));

  ASSERT_TRUE(designer.SelectTab(kModuleTab));
  PostMessageW(designer.dialog(), WM_COMMAND, 3001, 0);
  guide = designer.WaitForPopup();
  ASSERT_NE(guide, nullptr);
  EXPECT_EQ(ShownTopic(guide), SystemText(L"「ﾓｼﾞｭｰﾙ」ページ", L"The Module page"));
  ASSERT_TRUE(Answer(guide, IDOK));

  EXPECT_EQ(HelpViewer(), nullptr);
  EXPECT_FALSE(HelpViewerProcessRunning());
  EXPECT_EQ(designer.PressOk(), 0u);
  PumpFor(1000);
  EXPECT_EQ(HelpViewer(), nullptr);
  EXPECT_FALSE(HelpViewerProcessRunning()) << "nothing is left behind";
  DeleteFileA((DesignerFolder() + "MORVANE.HLP").c_str());
}

bool WaitForTab(const DesignerDialog& designer, int tab) {
  return WaitUntil([&] { return designer.CurrentTab() == tab && designer.Page() != nullptr; }, 3000);
}

TEST_F(DesignerPages, TheKeyboardSwitchesTabsSavingLikeAClickAndF1ExplainsTheFocusedControl) {
  DesignerDialog designer;
  ASSERT_TRUE(designer.ok());
  SetForegroundWindow(designer.dialog());
  PumpFor(300);

  // Backwards past the first tab: the Module page, saved by the next switch as a click saves it.
  PressChord({VK_CONTROL, VK_SHIFT}, VK_TAB);
  ASSERT_TRUE(WaitForTab(designer, kModuleTab));
  designer.SetText(1011, "keys.scr");
  PressChord({VK_CONTROL}, VK_TAB);
  ASSERT_TRUE(WaitForTab(designer, 0));
  EXPECT_EQ(StoredValue("Module", "MName"), "keys.scr");
  for (int tab = 1; tab <= kModuleTab; ++tab) {
    PressChord({VK_CONTROL}, VK_TAB);
    ASSERT_TRUE(WaitForTab(designer, tab)) << "tab " << tab;
  }

  // With a slider focused, Ctrl+PageDown and Ctrl+PageUp change the page, not the slider.
  PressChord({VK_CONTROL}, VK_NEXT);
  ASSERT_TRUE(WaitForTab(designer, 0));
  PressChord({VK_CONTROL}, VK_NEXT);
  ASSERT_TRUE(WaitForTab(designer, kBackgroundTab));
  RECT slider;
  GetWindowRect(designer.Trackbar(1050), &slider);
  SetCursorPos(slider.left + 4, (slider.top + slider.bottom) / 2);
  ClickMouse(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
  PumpFor(300);
  GUITHREADINFO focus = {};
  focus.cbSize = sizeof focus;
  GetGUIThreadInfo(GetWindowThreadProcessId(designer.dialog(), nullptr), &focus);
  EXPECT_EQ(focus.hwndFocus, designer.Trackbar(1050)) << "the click gave the slider the keys";
  int position = designer.TrackbarPos(1050);
  PressChord({VK_CONTROL}, VK_NEXT);
  ASSERT_TRUE(WaitForTab(designer, CharacterTab(0)));
  EXPECT_EQ(StoredValue("Initial", "Timer2"), std::to_string(position));
  PressChord({VK_CONTROL}, VK_PRIOR);
  ASSERT_TRUE(WaitForTab(designer, kBackgroundTab));
  EXPECT_EQ(designer.TrackbarPos(1050), position);

  // F1 on a focused control opens the guide at that control's paragraph.
  SetCursorPos(slider.left + 4, (slider.top + slider.bottom) / 2);
  ClickMouse(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
  PumpFor(300);
  PressKey(VK_F1);
  HWND guide = designer.WaitForPopup();
  ASSERT_NE(guide, nullptr);
  EXPECT_EQ(SelectedText(guide).find(SystemText(L"アニメーションのスピード：", L"Animation speed:")), 0u);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(guide); }, 3000)) << "Escape closes the guide";
  EXPECT_EQ(designer.PressOk(), 0u);
}

}  // namespace

namespace {

// On the 9x family the wide calls are stubs: the dialog, its pages, tabs, sliders, message
// boxes and file and colour dialogs all come through the ANSI calls, with the texts of the
// system's language converted to the ANSI code page.
TEST_F(DesignerPages, OnThe9xFamilyTheAnsiCallsOpenEverything) {
  DesignerDialog designer("designer_win9x.scr");
  ASSERT_TRUE(designer.ok());
  EXPECT_FALSE(IsWindowUnicode(designer.dialog())) << "made by the ANSI call";
  EXPECT_EQ(SendMessageW(designer.tabs(), TCM_GETITEMCOUNT, 0, 0), 23);
  ASSERT_TRUE(designer.SelectTab(kBackgroundTab));
  EXPECT_FALSE(IsWindowUnicode(designer.Page()));
  designer.Screenshot("win9x-page-background");
  designer.Click(1031);
  HWND colours = designer.WaitForPopup();
  ASSERT_NE(colours, nullptr);
  ASSERT_TRUE(Answer(colours, IDCANCEL));
  designer.Click(1032);
  HWND files = designer.WaitForPopup();
  ASSERT_NE(files, nullptr);
  EXPECT_EQ(WindowTextW(files), SystemText(L"壁紙の画像ﾌｧｲﾙの設定", L"Choose the Wallpaper Picture"));
  ASSERT_TRUE(Answer(files, IDCANCEL));

  ASSERT_TRUE(designer.SelectTab(CharacterTab(0)));
  EXPECT_NE(designer.Trackbar(1053), nullptr);
  designer.SetText(1011, "first.bmp");
  designer.Screenshot("win9x-page-character");
  ASSERT_TRUE(designer.SelectTab(kModuleTab));
  EXPECT_EQ(StoredValue("Character", "A0"), "first.bmp");
  designer.Click(1032);  // no name yet
  HWND message = designer.WaitForPopup();
  ASSERT_NE(message, nullptr);
  EXPECT_EQ(WindowTextW(message), L"Morvane");
  EXPECT_EQ(PopupText(message), SystemText(L"ファイル名を入力して下さい。", L"Please enter a file name."));
  ASSERT_TRUE(Answer(message, IDOK));
  PostMessageW(designer.dialog(), WM_COMMAND, 3001, 0);  // the guide
  HWND guide = designer.WaitForPopup();
  ASSERT_NE(guide, nullptr);
  EXPECT_EQ(WindowTextW(guide), SystemText(L"Morvane ヘルプ", L"Morvane Help"));
  ASSERT_TRUE(Answer(guide, IDOK));
  EXPECT_EQ(designer.PressOk(), 0u);
}

}  // namespace
