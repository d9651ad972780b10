// The designer's resources as the system reads them from designer.scr: dialog 2003, the four
// page templates, the title picture and the fixed texts.
#include <gtest/gtest.h>

#include <string>

#include "designer_driver.h"
#include "dialog_template.h"
#include "program_icon.h"

namespace {

const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
const WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const DWORD kNoId = 65535;
const WORD kButton = 0x80, kEdit = 0x81, kStatic = 0x82;

const DWORD kGroupBox = 0x50000007, kAutoCheck = 0x50010003, kTwoLineCheck = 0x50012003, kPush = 0x50010000;
const DWORD kPathEdit = 0x50810080, kLineEdit = 0x50810000, kValueField = 0x50000800, kLabel = 0x50020000;
const DWORD kPageStyle = 0x50000040;  // visible child, with the dialog's font

struct Expected {
  WORD classAtom;
  DWORD id;
  const wchar_t* japanese;
  const wchar_t* english;
  short x, y, cx, cy;
  DWORD style;
};

struct ExpectedTemplate {
  LPCWSTR name;
  DWORD style, exStyle;
  short x, y, cx, cy;
  const wchar_t* title;
  std::vector<Expected> items;
};

std::string Designer() { return ProgramFolder() + "designer.scr"; }

// The template in the given language: the layout as listed, that language's texts and the font
// its systems use for dialogs.
void CheckTemplate(const ExpectedTemplate& expected, WORD language) {
  const bool english = language == kEnglish;
  const std::string name = IS_INTRESOURCE(expected.name) ? std::to_string(reinterpret_cast<ULONG_PTR>(expected.name))
                                                         : std::string(expected.name, expected.name + lstrlenW(expected.name));
  SCOPED_TRACE(name + (english ? " in English" : " in Japanese"));
  DialogTemplate dialog = ReadDialogTemplate(Designer(), expected.name, language);
  ASSERT_TRUE(dialog.found);
  EXPECT_EQ(dialog.style, expected.style);
  EXPECT_EQ(dialog.exStyle, expected.exStyle);
  EXPECT_TRUE(dialog.x == expected.x && dialog.y == expected.y && dialog.cx == expected.cx && dialog.cy == expected.cy)
      << dialog.x << "," << dialog.y << " " << dialog.cx << "x" << dialog.cy;
  EXPECT_EQ(dialog.title, expected.title);
  EXPECT_EQ(dialog.pointSize, english ? 8 : 9);
  EXPECT_EQ(dialog.font, english ? L"MS Shell Dlg" : kGothicFace);
  ASSERT_EQ(dialog.items.size(), expected.items.size());
  for (size_t i = 0; i < expected.items.size(); ++i) {
    const DialogItem& item = dialog.items[i];
    const Expected& e = expected.items[i];
    SCOPED_TRACE("item " + std::to_string(i) + " id " + std::to_string(e.id));
    if (item.classAtom == 0) {
      EXPECT_EQ(lstrcmpiW(item.className.c_str(), e.classAtom == kStatic ? L"Static" : L"?"), 0);  // named, not numbered
    } else {
      EXPECT_EQ(item.classAtom, e.classAtom);
    }
    EXPECT_EQ(item.id, e.id);
    EXPECT_EQ(item.title, english ? e.english : e.japanese);
    EXPECT_TRUE(item.x == e.x && item.y == e.y && item.cx == e.cx && item.cy == e.cy)
        << item.x << "," << item.y << " " << item.cx << "x" << item.cy;
    EXPECT_EQ(item.style, e.style);
    EXPECT_EQ(item.exStyle, 0u);
  }
}

ExpectedTemplate Page(LPCWSTR name, std::vector<Expected> items) {
  return {name, kPageStyle, 0, 10, 20, 214, 231, L"", std::move(items)};
}

// The configuration dialog and the four pages, every control in template order; in English the
// same controls in the same places with the same styles.
TEST(DesignerResources, TemplatesAreExactlyAsListedInJapaneseAndInEnglish) {
  std::vector<ExpectedTemplate> templates;
  templates.push_back({MAKEINTRESOURCEW(2003), 0x80C808C0u,  // pop-up, caption, system menu, centred, modal frame, font
                       static_cast<DWORD>(WS_EX_CONTEXTHELP), 0, 0, 243, 279, L"Morvane",
                       {{kButton, IDOK, L"OK", L"OK", 140, 260, 45, 15, 0x50010001u},
                        {kButton, 3001, L"ﾍﾙﾌﾟ", L"Help", 191, 260, 45, 15, 0x50000000u}}});  // no tab stop

  templates.push_back(Page(L"DLG0", {
      {kButton, kNoId, L"背景色", L"Background colour", 5, 5, 200, 50, kGroupBox},
      {kButton, kNoId, L"壁紙", L"Wallpaper", 5, 60, 200, 50, kGroupBox},
      {kButton, kNoId, L"アニメーションのスピード", L"Animation speed", 5, 115, 200, 50, kGroupBox},
      {kButton, kNoId, L"サウンド", L"Sound", 5, 170, 200, 50, kGroupBox},
      {kButton, 1001, L"背景に色を付けない", L"No colour", 101, 18, 88, 8, kAutoCheck},
      {kButton, 1004, L"表示する画像の背景を透明にする", L"Transparent image backgrounds", 101, 33, 94, 16, kTwoLineCheck},
      {kButton, 1002, L"壁紙を表示する", L"Show wallpaper", 16, 95, 70, 8, kAutoCheck},
      {kButton, 1003, L"全体に表示する", L"Stretch", 109, 95, 70, 8, kAutoCheck},
      {kButton, 1005, L"サウンドを鳴らす", L"Play sound", 16, 205, 80, 8, kAutoCheck},
      {kButton, 1031, L"色の設定", L"Set colour", 26, 24, 45, 20, kPush},
      {kButton, 1032, L"設定", L"Browse", 165, 75, 32, 12, kPush},
      {kButton, 1033, L"設定", L"Browse", 165, 185, 32, 12, kPush},
      {kEdit, 1011, L"", L"", 15, 75, 140, 12, kPathEdit},
      {kEdit, 1012, L"", L"", 15, 185, 140, 12, kPathEdit},
      {kStatic, kNoId, L"速い", L"Fast", 15, 135, 20, 8, kLabel},
      {kStatic, kNoId, L"遅い", L"Slow", 180, 135, 20, 8, kLabel},
  }));

  std::vector<Expected> character;
  const wchar_t* slots[] = {L" 1.", L" 2.", L" 3.", L" 4.", L" 5.", L" 6.", L" 7.", L" 8.", L" 9.", L"10."};
  for (short k = 0; k < 10; ++k) character.push_back({kStatic, kNoId, slots[k], slots[k], 1, short(7 + 12 * k), 14, 8, kLabel});
  for (short k = 0; k < 10; ++k) character.push_back({kEdit, DWORD(1011 + k), L"", L"", 15, short(5 + 12 * k), 150, 12, kPathEdit});
  for (short k = 0; k < 10; ++k) character.push_back({kButton, DWORD(1031 + k), L"参照", L"Browse", 175, short(5 + 12 * k), 32, 12, kPush});
  std::vector<Expected> rest = {
      {kStatic, kNoId, L"－", L"-", 27, 125, 8, 8, kLabel},
      {kStatic, kNoId, L"０", L"0", 92, 125, 8, 8, kLabel},
      {kStatic, kNoId, L"＋", L"+", 155, 125, 8, 8, kLabel},
      {kStatic, kNoId, L"横方向", L"Across", 1, 136, 30, 8, kLabel},
      {kStatic, kNoId, L"縦方向", L"Down", 1, 156, 30, 8, kLabel},
      {kStatic, kNoId, L"奥方向", L"Depth", 1, 176, 30, 8, kLabel},
      {kEdit, 1025, L"", L"", 10, 144, 16, 8, kValueField},
      {kEdit, 1026, L"", L"", 10, 164, 16, 8, kValueField},
      {kEdit, 1027, L"", L"", 10, 184, 16, 8, kValueField},
      {kButton, 1001, L"跳ね返る", L"Bounce", 166, 136, 44, 8, kAutoCheck},
      {kButton, 1002, L"跳ね返る", L"Bounce", 166, 156, 44, 8, kAutoCheck},
      {kButton, 1003, L"跳ね返る", L"Bounce", 166, 176, 44, 8, kAutoCheck},
      {kStatic, kNoId, L"出現率", L"Shown", 1, 210, 30, 8, kLabel},
      {kEdit, 1028, L"", L"", 10, 218, 16, 8, kValueField},
      {kButton, 1005, L"ｱﾆﾒｰｼｮﾝ順序(1-2･･･9-10-9･･)", L"Ping-pong (1-2..9-10-9..)", 95, 210, 130, 8, kAutoCheck},
  };
  character.insert(character.end(), rest.begin(), rest.end());
  templates.push_back(Page(L"DLG1", character));

  templates.push_back(Page(L"DLG2", {{kStatic, kNoId, L"TITLE", L"TITLE", 0, 10, 210, 209, 0x5080120E}}));  // bitmap, centred, sunken, border

  std::vector<Expected> module = {
      {kStatic, kNoId, L"現在の設定でスクリーンセイバーを作成します。", L"Makes a screen saver from these settings.", 17, 14, 178, 8, kLabel},
      {kStatic, kNoId, L"1. ファイル名を入力して下さい。", L"1. Enter the file name.", 15, 38, 128, 8, kLabel},
      {kEdit, 1011, L"", L"", 28, 57, 125, 12, kPathEdit},
      {kButton, 1031, L"参照", L"Browse", 157, 57, 29, 13, kPush},
      {kStatic, kNoId, L"2. コメントを入力して下さい。", L"2. Enter the comments.", 15, 91, 120, 8, kLabel},
  };
  for (short i = 0; i < 5; ++i) module.push_back({kEdit, DWORD(1012 + i), L"", L"", 28, short(111 + 14 * i), 157, 12, kLineEdit});
  module.push_back({kStatic, 1220, L"", L"", 28, 184, 180, 8, kLabel});  // the saver's size, filled in when shown
  module.push_back({kButton, 1032, L"作成する", L"Create", 86, 199, 40, 16, kPush});
  templates.push_back(Page(L"DLG3", module));

  for (const ExpectedTemplate& t : templates)
    for (WORD language : {kJapanese, kEnglish}) CheckTemplate(t, language);
}

TEST(DesignerResources, TitleIsA300By255RunLengthPictureAndTextsAreTheSystems) {
  HMODULE module = LoadLibraryExA(Designer().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  HRSRC resource = FindResourceW(module, L"TITLE", MAKEINTRESOURCEW(2));  // RT_BITMAP
  ASSERT_NE(resource, nullptr);
  const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, resource)));
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->biWidth, 300);
  EXPECT_EQ(header->biHeight, 255);
  EXPECT_EQ(header->biBitCount, 4);
  EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RLE4));

  const struct {
    UINT id;
    const wchar_t* japanese;
    const wchar_t* english;  // null: not checked
  } texts[] = {
      {1, L"Morvane", L"Morvane"},  // the name the display settings list the designer by
      {3, L"メモリ不足のため起動することができません。", L"There is not enough memory to start."},
      {4, L"Morvane", L"Morvane"},
      {100, L"情報", L"Info"},
      {101, L"背景", L"Background"},
      {102, L"画像1", L"Image 1"},
      {121, L"画像20", L"Image 20"},
      {122, L"ﾓｼﾞｭｰﾙ", L"Module"},
      {300, L"ファイル名を入力して下さい。", L"Please enter a file name."},
      {301, L"同名のファイルが既に存在します。上書きしますか？", nullptr},
      {302, L"ファイルの作成中に異常が発生しました。", nullptr},
      {303, L"現在の設定でスクリーンセイバーを作成しました。", L"A screen saver was created from the current settings."},
      {335, L"ディスクの空き容量が足りません。", L"The disk is full."},
  };
  for (const auto& text : texts) {
    EXPECT_EQ(ReadStringResource(module, text.id, kJapanese), text.japanese) << text.id;
    if (text.english) EXPECT_EQ(ReadStringResource(module, text.id, kEnglish), text.english) << text.id;
  }
  EXPECT_EQ(ReadStringResource(module, 200, kEnglish).substr(0, 40), L"All pictures (*.bmp;*.png;*.jpg;*.gif)|*");
  // Every text of the one language has its counterpart in the other, Create's messages among them.
  auto Has = [&](UINT id, WORD language) {
    std::wstring text = ReadStringResource(module, id, language);
    return !text.empty() && text != L"<none>";
  };
  for (UINT id = 0; id < 340; ++id) EXPECT_EQ(Has(id, kJapanese), Has(id, kEnglish)) << "string " << id;
  for (UINT id : {310u, 311u, 312u, 313u, 314u, 315u, 316u, 320u, 321u, 322u, 323u, 324u, 330u, 331u, 332u, 333u,
                  334u, 335u, 336u})
    EXPECT_TRUE(Has(id, kJapanese)) << id;
  FreeLibrary(module);
}

}  // namespace

namespace {

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

struct FitCheck {
  HWND page;
  std::vector<std::string> overflowing;
};

// Whether the control's text fits the part of it that its page shows, in its own font, beside
// the box of a check box and inside the frame of a button.
BOOL CALLBACK CheckTextFits(HWND control, LPARAM parameter) {
  FitCheck* check = reinterpret_cast<FitCheck*>(parameter);
  wchar_t className[32], text[256];
  GetClassNameW(control, className, 32);
  int length = GetWindowTextW(control, text, 256);
  DWORD style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
  const bool button = lstrcmpiW(className, L"Button") == 0;
  if (length == 0 || (lstrcmpiW(className, L"Static") != 0 && !button) || (style & SS_BITMAP) == SS_BITMAP)
    return TRUE;
  RECT shown, page;
  GetWindowRect(control, &shown);
  MapWindowPoints(nullptr, check->page, reinterpret_cast<POINT*>(&shown), 2);
  GetClientRect(check->page, &page);
  if (shown.right > page.right) shown.right = page.right;
  int inset = 0;
  const DWORD kind = style & BS_TYPEMASK;
  if (button && (kind == BS_AUTOCHECKBOX || kind == BS_CHECKBOX)) inset = GetSystemMetrics(SM_CXMENUCHECK) + 4;
  else if (button && kind == BS_GROUPBOX) inset = 12;
  else if (button) inset = 6;
  HDC context = GetDC(control);
  HGDIOBJ old = SelectObject(context, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT need = {0, 0, shown.right - shown.left - inset, 0};
  const bool wraps = (button && (style & BS_MULTILINE)) || (!button && (style & SS_TYPEMASK) == SS_LEFT);
  DrawTextW(context, text, length, &need, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(context, old);
  ReleaseDC(control, context);
  const int width = shown.right - shown.left - inset;
  const int height = kind == BS_GROUPBOX && button ? need.bottom : shown.bottom - shown.top;
  if (need.right > width || need.bottom > height) {
    char line[400];
    wsprintfA(line, "\"%ls\": needs %dx%d, has %dx%d", text, int(need.right), int(need.bottom), width, height);
    check->overflowing.push_back(line);
  }
  return TRUE;
}

// Each page in the language the system picks, at the session's resolution: every label, box and
// button shows its whole text.
TEST(DesignerResources, EveryTextFitsItsControlInTheSystemsLanguage) {
  HMODULE module = LoadLibraryExA(Designer().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  HWND frame = CreateDialogParamW(module, MAKEINTRESOURCEW(2003), nullptr, QuietDialog, 0);
  ASSERT_NE(frame, nullptr);
  for (const wchar_t* name : {L"", L"DLG0", L"DLG1", L"DLG2", L"DLG3"}) {
    HWND page = *name ? CreateDialogParamW(module, name, frame, QuietDialog, 0) : frame;
    ASSERT_NE(page, nullptr);
    FitCheck check = {page, {}};
    EnumChildWindows(page, CheckTextFits, reinterpret_cast<LPARAM>(&check));
    for (const std::string& overflow : check.overflowing) ADD_FAILURE() << (*name ? name[3] : L'F') << ": " << overflow;
    if (page != frame) DestroyWindow(page);
  }
  DestroyWindow(frame);
  FreeLibrary(module);
}

TEST(DesignerResources, TheGuideComesInJapaneseAndEnglish) {
  HMODULE module = LoadLibraryExA(Designer().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  for (WORD language : {kJapanese, kEnglish}) {
    SCOPED_TRACE(language == kJapanese ? "Japanese" : "English");
    DialogTemplate guide = ReadDialogTemplate(Designer(), MAKEINTRESOURCEW(2010), language);
    ASSERT_TRUE(guide.found);
    EXPECT_NE(guide.Item(1101), nullptr);
    EXPECT_NE(guide.Item(1102), nullptr);
    EXPECT_NE(guide.Item(IDOK), nullptr);
    HRSRC text = FindResourceExW(module, MAKEINTRESOURCEW(10), L"GUIDE", language);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(static_cast<const char*>(LockResource(LoadResource(module, text))), 2), "# ");
  }
  FreeLibrary(module);
}

// The icon the system shows for the designer: 16, 32 and 48 pixels in true colour with alpha,
// and 256 PNG-compressed, each of which the system makes an icon of.
TEST(DesignerResources, TheIconComesAtFourSizesTheLargestPngCompressed) {
  std::vector<IconEntry> icon = ReadProgramIcon(Designer());
  ASSERT_EQ(icon.size(), 4u);
  const int sizes[] = {16, 32, 48, 256};
  for (size_t i = 0; i < icon.size(); ++i) {
    SCOPED_TRACE(sizes[i]);
    EXPECT_EQ(icon[i].size, sizes[i]);
    EXPECT_EQ(icon[i].bits, 32);
    EXPECT_EQ(icon[i].png, sizes[i] == 256);
    EXPECT_TRUE(icon[i].made);
  }
}

}  // namespace
