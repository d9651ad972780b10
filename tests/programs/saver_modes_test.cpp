// Both programs as the display settings start them: refused lines, the preview inside a parent
// made here, the full-screen saver, its single instance and its dismissal.
#include <gtest/gtest.h>

#include <string>

#include "input_events.h"
#include "process_runner.h"

namespace {

std::string Player() { return ProgramFolder() + "player.scr"; }
std::string Designer() { return ProgramFolder() + "designer.scr"; }

TEST(SaverModes, RefusedLinesEndWithMinusOne) {
  const char* refused[] = {"/x", "/1", "/?", "/p", "/p0", "/p abc", "/p:1234", "/a", "/a 1234", "\x80s", "/\t s"};
  for (const char* tail : refused) {
    EXPECT_EQ(RunProgram(Player(), tail), DWORD(-1)) << "player '" << tail << "'";
  }
  for (const char* tail : {"/x", "/a", "/p 0"}) {
    EXPECT_EQ(RunProgram(Designer(), tail), DWORD(-1)) << "designer '" << tail << "'";
  }
  // A preview parent that no longer exists is refused too.
  HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  std::string handle = std::to_string(reinterpret_cast<ULONG_PTR>(gone));
  DestroyWindow(gone);
  EXPECT_EQ(RunProgram(Player(), "/p " + handle), DWORD(-1));
}

class PreviewParent {
 public:
  PreviewParent(int width, int height) {
    RECT frame = {0, 0, width, height};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    window = CreateWindowExA(0, "STATIC", "Display settings", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                             frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, nullptr, nullptr);
  }
  ~PreviewParent() {
    if (IsWindow(window)) DestroyWindow(window);
  }
  std::string Handle() const { return std::to_string(reinterpret_cast<ULONG_PTR>(window)); }
  HWND window;
};

void CheckPreview(const std::string& program) {
  PreviewParent parent(152, 112);
  ChildProcess saver = StartProgram(program, "/p " + parent.Handle());
  HWND preview = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    preview = FindWindowExA(parent.window, nullptr, "WindowsScreenSaverClass", nullptr);
    return preview != nullptr;
  })) << program;
  char title[64];
  GetWindowTextA(preview, title, sizeof title);
  EXPECT_STREQ(title, "Preview");
  EXPECT_TRUE(GetWindowLongA(preview, GWL_STYLE) & WS_CHILD);
  RECT inner, outer;
  GetClientRect(parent.window, &outer);
  GetWindowRect(preview, &inner);
  MapWindowPoints(nullptr, parent.window, reinterpret_cast<POINT*>(&inner), 2);
  EXPECT_EQ(inner.left, 0);
  EXPECT_EQ(inner.top, 0);
  EXPECT_EQ(inner.right, outer.right);
  EXPECT_EQ(inner.bottom, outer.bottom);

  // Input does not end a preview; destroying the parent does.
  PostMessageA(preview, WM_KEYDOWN, 'A', 0);
  PumpFor(300);
  EXPECT_TRUE(IsWindow(preview));
  DestroyWindow(parent.window);
  EXPECT_EQ(WaitForExit(saver), 0u) << program;
}

TEST(SaverModes, PreviewFillsTheParentAndEndsWithIt) {
  CheckPreview(Player());
  CheckPreview(Designer());
}

HWND WaitForSaverWindow(const ChildProcess& saver) {
  return WaitForProcessWindow(saver.id, "WindowsScreenSaverClass", "Screen Saver");
}

TEST(SaverModes, FullScreenSaverIsTopmostSingleAndEndsOnAKey) {
  SetCursorPos(500, 400);
  ChildProcess first = StartProgram(Player(), "/s");
  HWND window = WaitForSaverWindow(first);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.right - rect.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(rect.bottom - rect.top, GetSystemMetrics(SM_CYSCREEN));

  // A second full-screen start returns at once and leaves the first one in front.
  EXPECT_EQ(RunProgram(Designer(), "/s"), 0u);
  EXPECT_TRUE(IsWindow(window));
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; }, 3000));

  PressKey('M');
  EXPECT_EQ(WaitForExit(first), 0u);
}

TEST(SaverModes, MouseButtonsAndTravelEndTheSaver) {
  const DWORD buttons[][2] = {{MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP},
                              {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP},
                              {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP}};
  for (const auto& button : buttons) {
    SetCursorPos(500, 400);
    ChildProcess saver = StartProgram(Designer(), "/s");
    ASSERT_NE(WaitForSaverWindow(saver), nullptr);
    PumpFor(200);
    ClickMouse(button[0], button[1]);
    EXPECT_EQ(WaitForExit(saver), 0u);
  }

  SetCursorPos(500, 400);
  ChildProcess saver = StartProgram(Player(), "/s");
  ASSERT_NE(WaitForSaverWindow(saver), nullptr);
  PumpFor(200);
  SetCursorPos(502, 401);  // 3 pixels: stays
  PumpFor(300);
  EXPECT_EQ(WaitForSingleObject(saver.process, 0), WAIT_TIMEOUT);
  SetCursorPos(504, 401);  // 5 pixels from the start: ends
  EXPECT_EQ(WaitForExit(saver), 0u);
}

}  // namespace
