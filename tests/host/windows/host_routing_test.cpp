// Message routing of the saver window, in-process: what dismisses the full-screen saver, what the
// animation still sees, and how the preview differs.
#include <gtest/gtest.h>

#include "host_test_window.h"

namespace {

class FullScreenRouting : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenTestSaver(&saver);
    window = MakeSaverWindow(&saver);
    ASSERT_NE(window, nullptr);
    TakeQueuedCloses(window);
    saver.reached.clear();
  }
  void TearDown() override { DestroySaverWindow(window); }

  // Moves the cursor and delivers the mouse message the system would send.
  void MoveCursorTo(int x, int y) {
    ASSERT_TRUE(SetCursorPos(x, y));
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));  // parameters are not what counts
  }

  TestSaver saver;
  HWND window = nullptr;
};

TEST_F(FullScreenRouting, MouseJitterWithinFourPixelsNeverCloses) {
  saver.host.savedCursorPos = POINT{300, 300};
  const POINT jitter[] = {{301, 300}, {302, 301}, {304, 300}, {300, 304}, {298, 302}, {296, 300}, {300, 296}};
  for (const POINT& p : jitter) {
    MoveCursorTo(p.x, p.y);
    EXPECT_EQ(TakeQueuedCloses(window), 0) << p.x << "," << p.y;
  }
  EXPECT_EQ(saver.host.savedCursorPos.x, 300);
  EXPECT_EQ(saver.host.savedCursorPos.y, 300);

  MoveCursorTo(303, 302);  // |3| + |2| = 5
  EXPECT_EQ(TakeQueuedCloses(window), 1);
  EXPECT_EQ(saver.host.savedCursorPos.x, 303);
  EXPECT_EQ(saver.host.savedCursorPos.y, 302);
}

TEST_F(FullScreenRouting, SlowDriftClosesOnTheThirdStep) {
  saver.host.savedCursorPos = POINT{200, 200};
  MoveCursorTo(202, 200);
  EXPECT_EQ(TakeQueuedCloses(window), 0);
  MoveCursorTo(204, 200);
  EXPECT_EQ(TakeQueuedCloses(window), 0);
  MoveCursorTo(206, 200);
  EXPECT_EQ(TakeQueuedCloses(window), 1);
}

TEST_F(FullScreenRouting, KeysAndButtonsCloseButReleasesWheelAndDoubleClicksDoNot) {
  const UINT closing[] = {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
  for (UINT message : closing) {
    SendMessageA(window, message, message == WM_SYSKEYDOWN ? VK_MENU : 'A', 0);
    EXPECT_EQ(TakeQueuedCloses(window), 1) << std::hex << message;
    EXPECT_TRUE(Reached(saver, message)) << "the animation sees input before dismissal";
  }
  const UINT harmless[] = {WM_KEYUP, WM_SYSKEYUP, WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP, WM_MOUSEWHEEL,
                           WM_LBUTTONDBLCLK, WM_CHAR};
  for (UINT message : harmless) {
    SendMessageA(window, message, 0, 0);
    EXPECT_EQ(TakeQueuedCloses(window), 0) << std::hex << message;
  }
}

TEST_F(FullScreenRouting, ActivationLossAndPowerEventsClose) {
  SendMessageA(window, WM_ACTIVATEAPP, TRUE, 0);
  EXPECT_EQ(TakeQueuedCloses(window), 0);
  SendMessageA(window, WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_EQ(TakeQueuedCloses(window), 1);

  for (WPARAM event : {WPARAM(1), WPARAM(2)}) {
    SendMessageA(window, WM_POWER, event, 0);
    EXPECT_EQ(TakeQueuedCloses(window), 0) << "WM_POWER " << event;
  }
  SendMessageA(window, WM_POWER, PWR_CRITICALRESUME, 0);
  EXPECT_EQ(TakeQueuedCloses(window), 1);

  for (WPARAM event : {WPARAM(PBT_APMSUSPEND), WPARAM(PBT_APMRESUMEAUTOMATIC), WPARAM(0x1234)}) {
    SendMessageA(window, WM_POWERBROADCAST, event, 0);
    EXPECT_EQ(TakeQueuedCloses(window), 1) << "WM_POWERBROADCAST " << event;
  }
}

TEST_F(FullScreenRouting, SwitchingAndSaverCommandsAreSwallowed) {
  for (WPARAM command : {WPARAM(SC_NEXTWINDOW), WPARAM(SC_PREVWINDOW), WPARAM(SC_SCREENSAVE)}) {
    saver.reached.clear();
    EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, command, 0), 0);
    EXPECT_FALSE(Reached(saver, WM_SYSCOMMAND)) << std::hex << command;
  }
  saver.reached.clear();
  SendMessageA(window, WM_SYSCOMMAND, SC_HOTKEY, 0);  // any other command goes on to the system
  EXPECT_TRUE(Reached(saver, WM_SYSCOMMAND));
}

TEST_F(FullScreenRouting, TextCannotBeChangedAndCursorRequestsAreAnswered) {
  EXPECT_EQ(SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Other")), 0);
  char title[64];
  GetWindowTextA(window, title, sizeof title);
  EXPECT_STREQ(title, "Screen Saver");
  EXPECT_FALSE(Reached(saver, WM_SETTEXT));

  EXPECT_EQ(SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), 1);
  EXPECT_EQ(GetCursor(), nullptr);
}

TEST_F(FullScreenRouting, TimersReachTheAnimationUntilACloseIsApproved) {
  SendMessageA(window, WM_TIMER, 1, 0);
  EXPECT_TRUE(Reached(saver, WM_TIMER));

  saver.host.closeApproved = 1;
  saver.reached.clear();
  EXPECT_EQ(SendMessageA(window, WM_TIMER, 1, 0), 0);
  SendMessageA(window, WM_KEYDOWN, 'A', 0);
  SendMessageA(window, WM_MOUSEMOVE, 0, 0);
  SendMessageA(window, WM_LBUTTONDOWN, 0, 0);
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
  EXPECT_TRUE(saver.reached.empty()) << saver.reached.size() << " messages reached the animation";
  EXPECT_EQ(TakeQueuedCloses(window), 0);

  // Everything else still reaches it, and a close now goes straight to the system.
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Reached(saver, WM_CLOSE));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(Reached(saver, WM_DESTROY));
}

TEST_F(FullScreenRouting, CloseOnTheNtFamilyDestroysAtOnce) {
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(saver.host.closeApproved, 0) << "no password machinery runs outside the 9x family";
  MSG quit;
  EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "destruction ends the loop";
}

TEST_F(FullScreenRouting, AutoPlayQueryClosesAndAnswersByVerifierPresence) {
  saver.host.autoPlayQueryMessage = RegisterWindowMessageA("QueryCancelAutoPlay");
  EXPECT_EQ(SendMessageA(window, saver.host.autoPlayQueryMessage, 0, 0), 0);
  EXPECT_EQ(TakeQueuedCloses(window), 1);

  saver.host.autoPlayQueryMessage = 0;  // not registered outside the 9x family: the same number is nothing
  SendMessageA(window, RegisterWindowMessageA("QueryCancelAutoPlay"), 0, 0);
  EXPECT_EQ(TakeQueuedCloses(window), 0);
}

class PreviewRouting : public ::testing::Test {
 protected:
  static LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
  }
  void SetUp() override {
    OpenTestSaver(&saver);
    WNDCLASSA parentClass = {};
    parentClass.lpfnWndProc = ParentProc;
    parentClass.hInstance = GetModuleHandleA(nullptr);
    parentClass.lpszClassName = "MorvaneTestParent";
    RegisterClassA(&parentClass);
    parent = CreateWindowExA(0, "MorvaneTestParent", "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    window = MakeSaverWindow(&saver, parent);
    ASSERT_NE(window, nullptr);
    saver.reached.clear();
  }
  void TearDown() override {
    DestroySaverWindow(window);
    DestroyWindow(parent);
  }
  TestSaver saver;
  HWND parent = nullptr;
  HWND window = nullptr;
};

TEST_F(PreviewRouting, InputNeverDismissesThePreview) {
  saver.host.savedCursorPos = POINT{0, 0};
  SetCursorPos(500, 500);
  const UINT input[] = {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_MOUSEMOVE};
  for (UINT message : input) SendMessageA(window, message, 0, 0);
  SendMessageA(window, WM_ACTIVATEAPP, FALSE, 0);
  SendMessageA(window, WM_POWERBROADCAST, 0, 0);
  EXPECT_EQ(TakeQueuedCloses(window), 0);
  for (UINT message : input) EXPECT_TRUE(Reached(saver, message)) << std::hex << message;
  // The cursor stays visible over the preview.
  EXPECT_NE(SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            1);
}

TEST_F(PreviewRouting, HelpAndContextMenuGoToTheParent) {
  EXPECT_EQ(SendMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), 0x00420017), 1);
  EXPECT_FALSE(Reached(saver, WM_CONTEXTMENU));
  MSG forwarded;
  ASSERT_TRUE(PeekMessageA(&forwarded, parent, WM_CONTEXTMENU, WM_CONTEXTMENU, PM_REMOVE));
  EXPECT_EQ(forwarded.wParam, reinterpret_cast<WPARAM>(parent));
  EXPECT_EQ(forwarded.lParam, 0x00420017);

  // Help carries a pointer, which the system does not post across; the preview still keeps it
  // from the animation and answers it.
  HELPINFO help = {sizeof help, HELPINFO_WINDOW, 0, window, 0, {5, 5}};
  EXPECT_EQ(SendMessageA(window, WM_HELP, 0, reinterpret_cast<LPARAM>(&help)), 1);
  EXPECT_FALSE(Reached(saver, WM_HELP));
}

TEST_F(PreviewRouting, SystemCommandsAreNotSwallowedAndCloseDestroys) {
  SendMessageA(window, WM_SYSCOMMAND, SC_NEXTWINDOW, 0);
  EXPECT_TRUE(Reached(saver, WM_SYSCOMMAND));
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
