// The designer's resources as the system reads them from designer.scr: dialog 2003, the four
// page templates, the title picture and the fixed texts.
#include <gtest/gtest.h>

#include <string>

#include "designer_driver.h"
#include "dialog_template.h"

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
  const wchar_t* text;
  short x, y, cx, cy;
  DWORD style;
};

std::string Designer() { return ProgramFolder() + "designer.scr"; }

void CheckPage(const wchar_t* name, const std::vector<Expected>& expected) {
  SCOPED_TRACE(std::string("template ") + (name[3] == L'0' ? "DLG0" : name[3] == L'1' ? "DLG1" : name[3] == L'2' ? "DLG2" : "DLG3"));
  DialogTemplate page = ReadDialogTemplate(Designer(), name, kJapanese);
  ASSERT_TRUE(page.found);
  EXPECT_EQ(page.style, kPageStyle);
  EXPECT_EQ(page.x, 10);
  EXPECT_EQ(page.y, 20);
  EXPECT_EQ(page.cx, 214);
  EXPECT_EQ(page.cy, 231);
  EXPECT_EQ(page.title, L"");
  EXPECT_EQ(page.pointSize, 9);
  EXPECT_EQ(page.font, kGothicFace);
  ASSERT_EQ(page.items.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const DialogItem& item = page.items[i];
    const Expected& e = expected[i];
    SCOPED_TRACE("item " + std::to_string(i) + " id " + std::to_string(e.id));
    if (item.classAtom == 0) {
      EXPECT_EQ(lstrcmpiW(item.className.c_str(), e.classAtom == kStatic ? L"Static" : L"?"), 0);  // named, not numbered
    } else {
      EXPECT_EQ(item.classAtom, e.classAtom);
    }
    EXPECT_EQ(item.id, e.id);
    EXPECT_EQ(item.title, e.text);
    EXPECT_EQ(item.x, e.x);
    EXPECT_EQ(item.y, e.y);
    EXPECT_EQ(item.cx, e.cx);
    EXPECT_EQ(item.cy, e.cy);
    EXPECT_EQ(item.style, e.style);
  }
}

TEST(DesignerResources, ConfigurationDialogHasOkAndHelpOnly) {
  DialogTemplate dialog = ReadDialogTemplate(Designer(), MAKEINTRESOURCEW(2003), kJapanese);
  ASSERT_TRUE(dialog.found);
  EXPECT_EQ(dialog.style, 0x80C808C0u);  // pop-up, caption, system menu, centred, modal frame, font
  EXPECT_EQ(dialog.exStyle, static_cast<DWORD>(WS_EX_CONTEXTHELP));
  EXPECT_EQ(dialog.cx, 243);
  EXPECT_EQ(dialog.cy, 279);
  EXPECT_EQ(dialog.title, L"Morvane");
  EXPECT_EQ(dialog.pointSize, 9);
  EXPECT_EQ(dialog.font, kGothicFace);
  ASSERT_EQ(dialog.items.size(), 2u);
  const DialogItem* ok = dialog.Item(IDOK);
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->title, L"OK");
  EXPECT_EQ(ok->style, 0x50010001u);
  EXPECT_EQ(ok->x, 140);
  EXPECT_EQ(ok->y, 260);
  EXPECT_EQ(ok->cx, 45);
  EXPECT_EQ(ok->cy, 15);
  const DialogItem* help = dialog.Item(3001);
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->title, L"ﾍﾙﾌﾟ");
  EXPECT_EQ(help->style, 0x50000000u) << "no tab stop";
  EXPECT_EQ(help->x, 191);
  EXPECT_EQ(help->y, 260);
  EXPECT_EQ(help->cx, 45);
  EXPECT_EQ(help->cy, 15);
}

TEST(DesignerResources, PageTemplatesAreExactlyAsListed) {
  CheckPage(L"DLG0", {
      {kButton, kNoId, L"背景色", 5, 5, 200, 50, kGroupBox},
      {kButton, kNoId, L"壁紙", 5, 60, 200, 50, kGroupBox},
      {kButton, kNoId, L"アニメーションのスピード", 5, 115, 200, 50, kGroupBox},
      {kButton, kNoId, L"サウンド", 5, 170, 200, 50, kGroupBox},
      {kButton, 1001, L"背景に色を付けない", 101, 18, 88, 8, kAutoCheck},
      {kButton, 1004, L"表示する画像の背景を透明にする", 101, 33, 94, 16, kTwoLineCheck},
      {kButton, 1002, L"壁紙を表示する", 16, 95, 70, 8, kAutoCheck},
      {kButton, 1003, L"全体に表示する", 109, 95, 70, 8, kAutoCheck},
      {kButton, 1005, L"サウンドを鳴らす", 16, 205, 80, 8, kAutoCheck},
      {kButton, 1031, L"色の設定", 26, 24, 45, 20, kPush},
      {kButton, 1032, L"設定", 165, 75, 32, 12, kPush},
      {kButton, 1033, L"設定", 165, 185, 32, 12, kPush},
      {kEdit, 1011, L"", 15, 75, 140, 12, kPathEdit},
      {kEdit, 1012, L"", 15, 185, 140, 12, kPathEdit},
      {kStatic, kNoId, L"速い", 15, 135, 20, 8, kLabel},
      {kStatic, kNoId, L"遅い", 180, 135, 20, 8, kLabel},
  });

  std::vector<Expected> character;
  const wchar_t* slots[] = {L" 1.", L" 2.", L" 3.", L" 4.", L" 5.", L" 6.", L" 7.", L" 8.", L" 9.", L"10."};
  for (short k = 0; k < 10; ++k) character.push_back({kStatic, kNoId, slots[k], 1, short(7 + 12 * k), 14, 8, kLabel});
  for (short k = 0; k < 10; ++k) character.push_back({kEdit, DWORD(1011 + k), L"", 15, short(5 + 12 * k), 150, 12, kPathEdit});
  for (short k = 0; k < 10; ++k) character.push_back({kButton, DWORD(1031 + k), L"参照", 175, short(5 + 12 * k), 32, 12, kPush});
  std::vector<Expected> rest = {
      {kStatic, kNoId, L"－", 27, 125, 8, 8, kLabel},
      {kStatic, kNoId, L"０", 92, 125, 8, 8, kLabel},
      {kStatic, kNoId, L"＋", 155, 125, 8, 8, kLabel},
      {kStatic, kNoId, L"横方向", 1, 136, 30, 8, kLabel},
      {kStatic, kNoId, L"縦方向", 1, 156, 30, 8, kLabel},
      {kStatic, kNoId, L"奥方向", 1, 176, 30, 8, kLabel},
      {kEdit, 1025, L"", 10, 144, 16, 8, kValueField},
      {kEdit, 1026, L"", 10, 164, 16, 8, kValueField},
      {kEdit, 1027, L"", 10, 184, 16, 8, kValueField},
      {kButton, 1001, L"跳ね返る", 166, 136, 44, 8, kAutoCheck},
      {kButton, 1002, L"跳ね返る", 166, 156, 44, 8, kAutoCheck},
      {kButton, 1003, L"跳ね返る", 166, 176, 44, 8, kAutoCheck},
      {kStatic, kNoId, L"出現率", 1, 210, 30, 8, kLabel},
      {kEdit, 1028, L"", 10, 218, 16, 8, kValueField},
      {kButton, 1005, L"ｱﾆﾒｰｼｮﾝ順序(1-2･･･9-10-9･･)", 95, 210, 130, 8, kAutoCheck},
  };
  character.insert(character.end(), rest.begin(), rest.end());
  CheckPage(L"DLG1", character);

  CheckPage(L"DLG2", {{kStatic, kNoId, L"TITLE", 0, 10, 210, 209, 0x5080120E}});  // bitmap, centred, sunken, border

  std::vector<Expected> module = {
      {kStatic, kNoId, L"現在の設定でスクリーンセイバーを作成します。", 17, 14, 178, 8, kLabel},
      {kStatic, kNoId, L"1. ファイル名を入力して下さい。", 15, 38, 128, 8, kLabel},
      {kEdit, 1011, L"", 28, 57, 125, 12, kPathEdit},
      {kButton, 1031, L"参照", 157, 57, 29, 13, kPush},
      {kStatic, kNoId, L"2. コメントを入力して下さい。", 15, 91, 120, 8, kLabel},
  };
  for (short i = 0; i < 5; ++i) module.push_back({kEdit, DWORD(1012 + i), L"", 28, short(111 + 14 * i), 157, 12, kLineEdit});
  module.push_back({kButton, 1032, L"作成する", 86, 199, 40, 16, kPush});
  CheckPage(L"DLG3", module);
}

// Every template again in English: the same controls in the same places with the same styles,
// English texts, and the system's English dialog font.
TEST(DesignerResources, EnglishTemplatesKeepTheJapaneseLayouts) {
  const struct {
    const wchar_t* name;
    std::vector<std::wstring> texts;  // the items' texts, in template order
  } templates[] = {
      {MAKEINTRESOURCEW(2003), {L"OK", L"Help"}},
      {L"DLG0",
       {L"Background colour", L"Wallpaper", L"Animation speed", L"Sound", L"No colour",
        L"Transparent image backgrounds", L"Show wallpaper", L"Stretch", L"Play sound", L"Set colour", L"Browse",
        L"Browse", L"", L"", L"Fast", L"Slow"}},
      {L"DLG1", {}},
      {L"DLG2", {L"TITLE"}},
      {L"DLG3",
       {L"Makes a screen saver from these settings.", L"1. Enter the file name.", L"", L"Browse",
        L"2. Enter the comments.", L"", L"", L"", L"", L"", L"Create"}},
  };
  std::vector<std::wstring>& character = const_cast<std::vector<std::wstring>&>(templates[2].texts);
  for (const wchar_t* slot : {L" 1.", L" 2.", L" 3.", L" 4.", L" 5.", L" 6.", L" 7.", L" 8.", L" 9.", L"10."})
    character.push_back(slot);
  character.insert(character.end(), 10, L"");
  character.insert(character.end(), 10, L"Browse");
  for (const wchar_t* text : {L"-", L"0", L"+", L"Across", L"Down", L"Depth", L"", L"", L"", L"Bounce", L"Bounce",
                              L"Bounce", L"Shown", L"", L"Ping-pong (1-2..9-10-9..)"})
    character.push_back(text);

  for (const auto& t : templates) {
    SCOPED_TRACE(IS_INTRESOURCE(t.name) ? std::string("2003") : std::string(t.name, t.name + 4));
    DialogTemplate japanese = ReadDialogTemplate(Designer(), t.name, kJapanese);
    DialogTemplate english = ReadDialogTemplate(Designer(), t.name, kEnglish);
    ASSERT_TRUE(japanese.found && english.found);
    EXPECT_EQ(english.style, japanese.style);
    EXPECT_EQ(english.exStyle, japanese.exStyle);
    EXPECT_EQ(english.x, japanese.x);
    EXPECT_EQ(english.y, japanese.y);
    EXPECT_EQ(english.cx, japanese.cx);
    EXPECT_EQ(english.cy, japanese.cy);
    EXPECT_EQ(english.title, japanese.title);
    EXPECT_EQ(english.pointSize, 8);
    EXPECT_EQ(english.font, L"MS Shell Dlg");
    ASSERT_EQ(english.items.size(), japanese.items.size());
    ASSERT_EQ(english.items.size(), t.texts.size());
    for (size_t i = 0; i < english.items.size(); ++i) {
      const DialogItem& e = english.items[i];
      const DialogItem& j = japanese.items[i];
      SCOPED_TRACE("item " + std::to_string(i));
      EXPECT_EQ(e.id, j.id);
      EXPECT_EQ(e.classAtom, j.classAtom);
      EXPECT_EQ(e.className, j.className);
      EXPECT_EQ(e.style, j.style);
      EXPECT_EQ(e.exStyle, j.exStyle);
      EXPECT_TRUE(e.x == j.x && e.y == j.y && e.cx == j.cx && e.cy == j.cy);
      EXPECT_EQ(e.title, t.texts[i]);
    }
  }
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

  WORD language = kJapanese;
  auto String = [&](UINT id) { return ReadStringResource(module, id, language); };
  EXPECT_EQ(String(1), L"メモリ不足のため起動することができません。");
  EXPECT_EQ(String(2), L"Morvane");
  EXPECT_EQ(String(100), L"情報");
  EXPECT_EQ(String(101), L"背景");
  EXPECT_EQ(String(102), L"画像1");
  EXPECT_EQ(String(121), L"画像20");
  EXPECT_EQ(String(122), L"ﾓｼﾞｭｰﾙ");
  EXPECT_EQ(String(300), L"ファイル名を入力して下さい。");
  EXPECT_EQ(String(301), L"同名のファイルが既に存在します。上書きしますか？");
  EXPECT_EQ(String(302), L"ファイルの作成中に異常が発生しました。");
  EXPECT_EQ(String(303), L"現在の設定でスクリーンセイバーを作成しました。");

  language = kEnglish;
  EXPECT_EQ(String(1), L"There is not enough memory to start.");
  EXPECT_EQ(String(2), L"Morvane");
  EXPECT_EQ(String(100), L"Info");
  EXPECT_EQ(String(101), L"Background");
  EXPECT_EQ(String(102), L"Image 1");
  EXPECT_EQ(String(121), L"Image 20");
  EXPECT_EQ(String(122), L"Module");
  EXPECT_EQ(String(200).substr(0, 40), L"All pictures (*.bmp;*.png;*.jpg;*.gif)|*");
  EXPECT_EQ(String(300), L"Please enter a file name.");
  EXPECT_EQ(String(303), L"A screen saver was created from the current settings.");
  // Every text of the one language has its counterpart in the other.
  for (UINT id = 0; id < 320; ++id) {
    language = kJapanese;
    bool inJapanese = String(id) != L"<none>" && !String(id).empty();
    language = kEnglish;
    bool inEnglish = String(id) != L"<none>" && !String(id).empty();
    EXPECT_EQ(inJapanese, inEnglish) << "string " << id;
  }
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

// A string of the given language as the program file holds it, or "<none>".
std::wstring StringIn(HMODULE module, UINT id, WORD language) {
  HRSRC block = FindResourceExW(module, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW((id >> 4) + 1), language);
  const WCHAR* entry = block ? static_cast<const WCHAR*>(LockResource(LoadResource(module, block))) : nullptr;
  if (!entry) return L"<none>";
  for (UINT i = 0; i < (id & 15); ++i) entry += 1 + *entry;
  return *entry ? std::wstring(entry + 1, *entry) : L"<none>";
}

TEST(DesignerResources, TheGuideAndCreatesNewTextsComeInJapaneseAndEnglish) {
  const WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
  HMODULE module = LoadLibraryExA(Designer().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  for (WORD language : {kJapanese, kEnglish}) {
    SCOPED_TRACE(language == kJapanese ? "Japanese" : "English");
    for (UINT id : {310u, 311u, 312u, 313u, 314u, 315u, 316u, 320u, 321u, 322u, 323u, 324u, 330u, 331u, 332u, 333u,
                    334u, 335u, 336u})
      EXPECT_NE(StringIn(module, id, language), L"<none>") << id;
    DialogTemplate guide = ReadDialogTemplate(Designer(), MAKEINTRESOURCEW(2010), language);
    ASSERT_TRUE(guide.found);
    EXPECT_NE(guide.Item(1101), nullptr);
    EXPECT_NE(guide.Item(1102), nullptr);
    EXPECT_NE(guide.Item(IDOK), nullptr);
    HRSRC text = FindResourceExW(module, MAKEINTRESOURCEW(10), L"GUIDE", language);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(static_cast<const char*>(LockResource(LoadResource(module, text))), 2), "# ");
  }
  EXPECT_EQ(StringIn(module, 335, kEnglish), L"The disk is full.");
  EXPECT_EQ(StringIn(module, 335, kJapanese), L"ディスクの空き容量が足りません。");
  FreeLibrary(module);
}

}  // namespace
