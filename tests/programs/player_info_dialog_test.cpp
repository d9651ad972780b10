// The player's information dialog: its resource, the comment lines it reads from its own file,
// and how it ends.
#include <gtest/gtest.h>

#include <string>

#include "dialog_template.h"
#include "input_events.h"
#include "process_runner.h"
#include "system_language.h"

namespace {

const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
const WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const wchar_t kJapaneseCaption[] = L"Screen Saver \x306E\x60C5\x5831";
const wchar_t kEnglishCaption[] = L"Screen Saver Information";

std::string Player() { return ProgramFolder() + "player.scr"; }

std::string Length(size_t n) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((n >> (8 * i)) & 0xFF);
  return bytes;
}

// A copy of the player program with the given memo entries appended (each a stored length and
// bytes).
std::string PlayerWithMemo(const char* name, const std::string& memo, const char* program = "player.scr") {
  std::string path = ProgramFolder() + name;
  EXPECT_TRUE(WriteWholeFile(path, ReadWholeFile(ProgramFolder() + program) + memo));
  return path;
}

std::string Entry(const std::string& text) { return Length(text.size()) + text; }

std::string LineText(HWND dialog, int id) {
  char text[600];
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

struct OpenDialog {
  ChildProcess process;
  HWND window = nullptr;
};

OpenDialog OpenInfoDialog(const std::string& program, const std::string& tail = "/c") {
  OpenDialog dialog;
  dialog.process = StartProgram(program, tail);
  dialog.window = WaitForProcessWindow(dialog.process.id, "#32770", nullptr);
  // The window exists before its initialisation has filled the lines; it is shown after.
  if (dialog.window) WaitUntil([&] { return IsWindowVisible(dialog.window) != FALSE; });
  return dialog;
}

// The Japanese dialog as listed, and an English one of the same layout in the system's English
// dialog font.
TEST(PlayerInfoDialog, ResourcesAreTheJapaneseInformationDialogAndItsEnglishTwin) {
  const struct {
    WORD language;
    const wchar_t* caption;
    WORD pointSize;
    const wchar_t* font;
  } languages[] = {{kJapanese, kJapaneseCaption, 9, kGothicFace}, {kEnglish, kEnglishCaption, 8, L"MS Shell Dlg"}};
  for (const auto& language : languages) {
    SCOPED_TRACE(language.language);
    DialogTemplate dialog = ReadDialogTemplate(Player(), MAKEINTRESOURCEW(2003), language.language);
    ASSERT_TRUE(dialog.found);
    EXPECT_EQ(dialog.style, 0x80C808C0u);
    EXPECT_EQ(dialog.exStyle, 0u);
    EXPECT_EQ(dialog.x, 0);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.cx, 187);
    EXPECT_EQ(dialog.cy, 89);
    EXPECT_EQ(dialog.title, language.caption);
    EXPECT_EQ(dialog.pointSize, language.pointSize);
    EXPECT_EQ(dialog.font, language.font);
    ASSERT_EQ(dialog.items.size(), 6u);
    for (int line = 0; line < 5; ++line) {
      const DialogItem* item = dialog.Item(1011 + line);
      ASSERT_NE(item, nullptr) << line;
      EXPECT_EQ(item->classAtom, 0x82);
      EXPECT_EQ(item->style, 0x50020000u);
      EXPECT_EQ(item->title, L"Static");
      EXPECT_EQ(item->x, 15);
      EXPECT_EQ(item->y, 10 + 10 * line);
      EXPECT_EQ(item->cx, 157);
      EXPECT_EQ(item->cy, 12);
    }
    const DialogItem* ok = dialog.Item(IDOK);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->classAtom, 0x80);
    EXPECT_EQ(ok->style, 0x50010001u);
    EXPECT_EQ(ok->title, L"OK");
    EXPECT_EQ(ok->x, 76);
    EXPECT_EQ(ok->y, 67);
    EXPECT_EQ(ok->cx, 34);
    EXPECT_EQ(ok->cy, 14);
  }
  // The start-up failure's message in both languages, and no string 1: the display settings
  // would list every packaged saver by it.
  HMODULE module = LoadLibraryExA(Player().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(ReadStringResource(module, 3, kJapanese), L"\x30E1\x30E2\x30EA\x4E0D\x8DB3\x306E\x305F\x3081\x8D77\x52D5\x3059\x308B\x3053\x3068\x304C\x3067\x304D\x307E\x305B\x3093\x3002");
  EXPECT_EQ(ReadStringResource(module, 4, kJapanese), L"\xFF7D\xFF78\xFF98\xFF70\xFF9D \xFF7E\xFF72\xFF8A\xFF9E\xFF70");
  EXPECT_EQ(ReadStringResource(module, 3, kEnglish), L"There is not enough memory to start.");
  EXPECT_EQ(ReadStringResource(module, 4, kEnglish), L"Screen Saver");
  EXPECT_EQ(ReadStringResource(module, 1, kEnglish), L"");
  EXPECT_EQ(ReadStringResource(module, 1, kJapanese), L"");
  FreeLibrary(module);
}

// The player program's dialog over a memo block: its lines in order, and only OK ends it. On the
// 9x family the wide calls are stubs: there the same dialog opens through the ANSI calls, with
// the system's language converted to the ANSI code page.
void ExpectMemoLinesAndOnlyOkEnds(const char* program, const char* copy, bool win9x) {
  std::string longest(259, ' ');
  for (size_t i = 0; i < longest.size(); ++i) longest[i] = static_cast<char>('a' + i % 26);
  std::string path = PlayerWithMemo(
      copy, Entry("First line") + Entry("") + Entry(longest) + Entry("") + Entry("Fifth") + Length(40) + "timing...",
      program);
  OpenDialog dialog = OpenInfoDialog(path);
  ASSERT_NE(dialog.window, nullptr);
  wchar_t caption[64];
  GetWindowTextW(dialog.window, caption, 64);
  EXPECT_STREQ(caption, SystemText(kJapaneseCaption, kEnglishCaption));
  EXPECT_EQ(IsWindowUnicode(dialog.window) != FALSE, !win9x) << "the wide calls on the NT family only";
  EXPECT_EQ(LineText(dialog.window, 1011), "First line");
  EXPECT_EQ(LineText(dialog.window, 1012), "");
  EXPECT_EQ(LineText(dialog.window, 1013), longest);
  EXPECT_EQ(LineText(dialog.window, 1014), "");
  EXPECT_EQ(LineText(dialog.window, 1015), "Fifth");

  // Esc and the caption's close button leave it open.
  SetForegroundWindow(dialog.window);
  PumpFor(200);
  PressKey(VK_ESCAPE);
  PostMessageA(dialog.window, WM_SYSCOMMAND, SC_CLOSE, 0);
  PostMessageA(dialog.window, WM_COMMAND, IDCANCEL, 0);
  PumpFor(500);
  EXPECT_TRUE(IsWindow(dialog.window));
  EXPECT_EQ(WaitForSingleObject(dialog.process.process, 0), WAIT_TIMEOUT);

  PostMessageA(dialog.window, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(WaitForExit(dialog.process), 1u);
}

TEST(PlayerInfoDialog, ShowsTheMemoLinesInOrderAndOnlyOkEndsIt) {
  ExpectMemoLinesAndOnlyOkEnds("player.scr", "memo_player.scr", false);
}

TEST(PlayerInfoDialog, OnThe9xFamilyTheAnsiDialogOpensWithTheSameTexts) {
  ExpectMemoLinesAndOnlyOkEnds("player_win9x.scr", "memo_player_win9x.scr", true);
}

TEST(PlayerInfoDialog, BareImageShowsFiveEmptyLinesAndEnterEnds) {
  OpenDialog dialog = OpenInfoDialog(Player(), "");
  ASSERT_NE(dialog.window, nullptr);
  for (int id = 1011; id <= 1015; ++id) EXPECT_EQ(LineText(dialog.window, id), "") << id;
  SetForegroundWindow(dialog.window);
  PumpFor(200);
  PressKey(VK_RETURN);
  EXPECT_EQ(WaitForExit(dialog.process), 1u);
}

TEST(PlayerInfoDialog, OverlongStoredLineIsCutAndTheNextLineStillReads) {
  std::string path = PlayerWithMemo("damaged_memo_player.scr",
                                    Length(300) + std::string(300, 'q') + Entry("after") + Length(2));
  OpenDialog dialog = OpenInfoDialog(path, "/c:0");
  ASSERT_NE(dialog.window, nullptr);
  EXPECT_EQ(LineText(dialog.window, 1011), std::string(259, 'q'));
  EXPECT_EQ(LineText(dialog.window, 1012), "after");
  EXPECT_EQ(LineText(dialog.window, 1013), "") << "a length cut short reads as empty";
  EXPECT_EQ(LineText(dialog.window, 1014), "");
  PostMessageA(dialog.window, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(WaitForExit(dialog.process), 1u);
}

// Both programs draw physical pixels on every monitor: per-monitor (v2) awareness for Windows 10
// on, the older per-monitor flag for 8.1 (and system awareness before it).
TEST(ProgramManifests, DeclarePerMonitorDpiAwareness) {
  for (const char* program : {"player.scr", "designer.scr"}) {
    HMODULE module = LoadLibraryExA((ProgramFolder() + program).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << program;
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    ASSERT_NE(resource, nullptr) << program;
    std::string manifest(static_cast<const char*>(LockResource(LoadResource(module, resource))),
                         SizeofResource(module, resource));
    EXPECT_NE(manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                            "PerMonitorV2, PerMonitor</dpiAwareness>"),
              std::string::npos) << program;
    EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm"
                            "</dpiAware>"),
              std::string::npos) << program;
    FreeLibrary(module);
  }
}

TEST(DesignerDialog, ConfigurationEndsWithZero) {
  OpenDialog dialog = OpenInfoDialog(ProgramFolder() + "designer.scr", "/c");
  ASSERT_NE(dialog.window, nullptr);
  wchar_t caption[64];
  GetWindowTextW(dialog.window, caption, 64);
  EXPECT_STREQ(caption, L"Morvane");
  PostMessageA(dialog.window, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(WaitForExit(dialog.process), 0u);
}

}  // namespace
