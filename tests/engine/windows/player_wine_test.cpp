// The real player under Wine: scenes drawn by the project's scene art, packaged by
// morvane-pack with the 64-bit player image, run full screen and in a preview, looked at from
// outside through the screen's pixels, and ended with a key.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "input_events.h"
#include "process_runner.h"
#include "screen_pixels.h"
#include "scene_art.h"

namespace {

const uint32_t kBackground = 0x00604020;  // RGB(32, 64, 96)
const uint32_t kYellow = 0x0000FFFF, kRed = 0x000000FF, kBlue = 0x00FF0000, kMagenta = 0x00FF00FF;
const uint32_t kQuadrants[4] = {0x00C08040, 0x0040C080, 0x008040C0, 0x00404040};

struct Screen {
  int32_t left = 0, top = 0, width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0x00BBGGRR
  uint32_t at(int32_t x, int32_t y) const { return pixels[size_t(y) * width + x]; }
  size_t Count(uint32_t colour) const {
    size_t n = 0;
    for (uint32_t p : pixels) n += p == colour;
    return n;
  }
};

Screen Capture(int32_t left, int32_t top, int32_t width, int32_t height) {
  Screen screen;
  screen.left = left;
  screen.top = top;
  screen.width = width;
  screen.height = height;
  RECT area = {left, top, left + width, top + height};
  for (uint32_t p : ScreenPixels(area)) screen.pixels.push_back(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
  return screen;
}

// Starts a packaged saver full screen and takes the whole screen once its pictures are up.
Screen CaptureRunningSaver(const std::string& saver, ChildProcess* child, HWND* window) {
  *child = StartProgram(saver, "/s");
  *window = WaitForProcessWindow(child->id, "WindowsScreenSaverClass", "Screen Saver");
  if (!*window) return Screen();
  PumpFor(1500);
  return Capture(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

class PlayerUnderWine : public testing::Test {
 protected:
  void SetUp() override {
    folder = ProgramFolder() + "player-scenes\\";
    CreateDirectoryA(folder.c_str(), nullptr);
  }

  // Writes the settings and packages them; the path of the packaged saver.
  std::string Package(const std::string& name, const SettingsText& settings) {
    std::string ini = folder + name + ".ini";
    EXPECT_TRUE(settings.Write(ini));
    std::string output = folder + name + ".scr";
    DeleteFileA(output.c_str());
    DWORD status = RunProgram(ProgramFolder() + "morvane-pack.exe",
                              "--settings \"" + ini + "\" --player \"" + ProgramFolder() +
                                  "player.scr\" \"" + output + "\"");
    EXPECT_EQ(status, 0u) << "morvane-pack failed for " << name;
    return output;
  }

  SettingsText Scene(bool transparent) {
    SettingsText s;
    s.Set("Initial", "Timer1", 30).Set("Initial", "Timer2", 2).Set("Initial", "Crear", transparent ? 1 : 0);
    s.Set("BackGround", "Erase", 0).Set("BackGround", "ColorR", 32).Set("BackGround", "ColorG", 64);
    s.Set("BackGround", "ColorB", 96);
    return s;
  }

  // A character that stays where it was placed, at natural size, always drawn.
  void StillCharacter(SettingsText* s, char letter, const std::string& file) {
    const std::string l(1, letter);
    s->Set("Character", l + "0", file);
    s->Set("Speed", l + "X", 0).Set("Speed", l + "Y", 0).Set("Speed", l + "Z", 0);
    s->Set("Visible", l + "A", 10);
  }

  std::string folder;
};

TEST_F(PlayerUnderWine, FullScreenShowsColourCentredWallpaperAndAnOpaqueSprite) {
  Picture32 wallpaper(200, 100, kYellow);
  ASSERT_TRUE(WriteBmp24(folder + "yellow.bmp", wallpaper));
  Picture32 sprite(40, 30, kRed);
  ASSERT_TRUE(WriteBmp24(folder + "red.bmp", sprite));
  SettingsText s = Scene(false);
  s.Set("BackGround", "BmpOpt1", 1).Set("BackGround", "BmpOpt2", 0);
  s.Set("BackGround", "Bmp", folder + "yellow.bmp");
  StillCharacter(&s, 'A', folder + "red.bmp");
  std::string saver = Package("opaque", s);

  ChildProcess child;
  HWND window;
  Screen screen = CaptureRunningSaver(saver, &child, &window);
  ASSERT_NE(window, nullptr);
  const int32_t w = screen.width, h = screen.height;
  EXPECT_EQ(screen.Count(kRed), 1200u);  // 40 x 30, whole or partly over the wallpaper
  size_t yellow = screen.Count(kYellow);
  EXPECT_GE(yellow, 20000u - 1200u);
  EXPECT_LE(yellow, 20000u);
  EXPECT_EQ(screen.Count(kBackground) + yellow + 1200u, size_t(w) * h);
  EXPECT_EQ(screen.at((w - 200) / 2, (h - 100) / 2) == kYellow || screen.at((w - 200) / 2, (h - 100) / 2) == kRed, true);
  EXPECT_NE(screen.at((w - 200) / 2 - 1, (h - 100) / 2), kYellow);

  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(WaitForExit(child), 0u);
}

// A saver signed with Authenticode (tests/pack-tool/signed_saver.sh) still plays its scene: the
// player reads its package from offset 49152 and never reaches the signature after it.
TEST_F(PlayerUnderWine, ASignedSaverPlaysItsScene) {
  const std::string saver = ProgramFolder() + "signed-saver\\signed.scr";
  ASSERT_NE(GetFileAttributesA(saver.c_str()), INVALID_FILE_ATTRIBUTES) << saver;
  ChildProcess child;
  HWND window;
  Screen screen = CaptureRunningSaver(saver, &child, &window);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(screen.Count(kBackground), size_t(screen.width) * screen.height);
  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(WaitForExit(child), 0u);
}

TEST_F(PlayerUnderWine, StretchedWallpaperShowsThroughATransparentSprite) {
  Picture32 quarters(2, 2, 0);
  quarters.at(0, 0) = kQuadrants[0];
  quarters.at(1, 0) = kQuadrants[1];
  quarters.at(0, 1) = kQuadrants[2];
  quarters.at(1, 1) = kQuadrants[3];
  ASSERT_TRUE(WriteBmp24(folder + "quarters.bmp", quarters));
  Picture32 sprite(40, 40, kMagenta);
  sprite.Fill(10, 10, 30, 30, kBlue);
  ASSERT_TRUE(WriteBmp24(folder + "blue.bmp", sprite));
  SettingsText s = Scene(true);
  s.Set("BackGround", "BmpOpt1", 1).Set("BackGround", "BmpOpt2", 1);
  s.Set("BackGround", "Bmp", folder + "quarters.bmp");
  StillCharacter(&s, 'A', folder + "blue.bmp");
  std::string saver = Package("transparent", s);

  ChildProcess child;
  HWND window;
  Screen screen = CaptureRunningSaver(saver, &child, &window);
  ASSERT_NE(window, nullptr);
  const int32_t w = screen.width, h = screen.height;
  EXPECT_EQ(screen.Count(kMagenta), 0u);
  EXPECT_EQ(screen.Count(kBlue), 400u);
  // Wherever the square sits, the corner area around it shows the wallpaper's quarter there.
  int32_t bx = -1, by = -1;
  for (int32_t i = 0; i < w * h && bx < 0; ++i)
    if (screen.pixels[i] == kBlue) bx = i % w, by = i / w;
  ASSERT_GE(bx, 0);
  for (int32_t y = by - 10; y < by + 30; ++y)
    for (int32_t x = bx - 10; x < bx + 30; ++x) {
      if (x >= bx && x < bx + 20 && y >= by && y < by + 20) continue;
      // Where the quarters meet, the platform's rounding of the stretch decides; look beside it.
      if (std::abs(x - w / 2) <= 1 || std::abs(y - h / 2) <= 1) continue;
      uint32_t expected = kQuadrants[(y >= h / 2) * 2 + (x >= w / 2)];
      ASSERT_EQ(screen.at(x, y), expected) << x << "," << y;
    }
  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(WaitForExit(child), 0u);
}

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

// Wine does not show a window of another process inside this process's window, so the shrunk
// picture itself is checked in-process by engine_gdi_tests; here the real player runs as a
// preview child of the given window, ignores input there and ends when its window closes.
TEST_F(PlayerUnderWine, PreviewRunsInsideTheParentAndIgnoresInput) {
  Picture32 sprite(64, 48, kRed);
  ASSERT_TRUE(WriteBmp24(folder + "red-big.bmp", sprite));
  SettingsText s = Scene(false);
  StillCharacter(&s, 'A', folder + "red-big.bmp");
  std::string saver = Package("preview", s);

  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = ParentProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "PreviewParent";
  RegisterClassA(&windowClass);
  HWND parent = CreateWindowExA(0, "PreviewParent", "parent", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                100, 100, 160, 120, nullptr, nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(parent, nullptr);
  ChildProcess child = StartProgram(saver, "/p " + std::to_string(reinterpret_cast<uintptr_t>(parent)));
  HWND preview = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    return (preview = FindWindowExA(parent, nullptr, "WindowsScreenSaverClass", "Preview")) != nullptr;
  }));
  RECT area;
  GetWindowRect(preview, &area);
  EXPECT_EQ(area.right - area.left, 160);
  EXPECT_EQ(area.bottom - area.top, 120);
  PostMessageA(preview, WM_KEYDOWN, VK_SPACE, 0);
  PumpFor(1000);
  EXPECT_EQ(WaitForSingleObject(child.process, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_TRUE(IsWindow(preview));
  PostMessageA(preview, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(child), 0u);
  DestroyWindow(parent);
}

}  // namespace

namespace {

// Run in a session of two side-by-side monitors of 800 x 600 (player_wine_tests_two_monitors),
// once at 96 and once at 144 dots per inch.
class PlayerOnTwoMonitors : public PlayerUnderWine {};

LRESULT CALLBACK DesktopProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) {
    RECT area;
    GetClientRect(window, &area);
    HBRUSH brush = CreateSolidBrush(0x00123456);
    FillRect(reinterpret_cast<HDC>(wParam), &area, brush);
    DeleteObject(brush);
    return 1;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(PlayerOnTwoMonitors, FullScreenCoversBothAndTheCharacterCrossesBetweenThem) {
  ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
  const int32_t width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  ASSERT_EQ(width, 1600);
  ASSERT_EQ(height, 600);
  char expected[8];
  if (GetEnvironmentVariableA("MORVANE_EXPECTED_DPI", expected, sizeof expected)) {
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), atoi(expected));
    ReleaseDC(nullptr, screen);
  }
  // A desktop of one colour, which must not show anywhere once the saver runs.
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DesktopProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "DesktopStandIn";
  RegisterClassA(&windowClass);
  HWND desktop = CreateWindowExA(0, "DesktopStandIn", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                                 nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(desktop, nullptr);
  PumpFor(300);

  Picture32 wallpaper(200, 100, kYellow);
  ASSERT_TRUE(WriteBmp24(folder + "yellow.bmp", wallpaper));
  Picture32 sprite(40, 30, kRed);
  ASSERT_TRUE(WriteBmp24(folder + "red.bmp", sprite));
  SettingsText s = Scene(false);
  s.Set("BackGround", "BmpOpt1", 1).Set("BackGround", "BmpOpt2", 0).Set("BackGround", "Bmp", folder + "yellow.bmp");
  // Fast across, bouncing at the virtual screen's edges, never across its middle vertically.
  s.Set("Character", "A0", folder + "red.bmp").Set("Visible", "AA", 10);
  s.Set("Speed", "AX", 37).Set("Speed", "AY", 0).Set("Speed", "AZ", 0);
  std::string saver = Package("two-monitors", s);

  ChildProcess child = StartProgram(saver, "/s");
  HWND window = WaitForProcessWindow(child.id, "WindowsScreenSaverClass", "Screen Saver");
  ASSERT_NE(window, nullptr);
  RECT area;
  GetWindowRect(window, &area);
  EXPECT_EQ(area.left, 0);
  EXPECT_EQ(area.right, 1600);
  EXPECT_EQ(area.bottom, 600);
  PumpFor(1000);

  bool seenLeft = false, seenRight = false;
  for (int look = 0; look < 40 && !(seenLeft && seenRight); ++look) {
    Screen screen = Capture(0, 0, width, height);
    size_t red = 0, yellow = 0, other = 0;
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x) {
        uint32_t p = screen.at(x, y);
        if (p == kRed) {
          ++red;
          (x < 800 ? seenLeft : seenRight) = true;
        } else if (p == kYellow) {
          ++yellow;
        } else if (p != kBackground) {
          ++other;
        }
      }
    ASSERT_EQ(other, 0u) << "pixels of neither the scene nor its background, at look " << look;
    ASSERT_EQ(red, 1200u) << "look " << look;
    // The wallpaper in the middle of each monitor, as on a single screen.
    EXPECT_GE(yellow, 2 * 20000u - 1200u);
    for (int32_t middle : {400, 1200}) {
      uint32_t p = screen.at(middle, 300);
      EXPECT_TRUE(p == kYellow || p == kRed) << middle;
      EXPECT_NE(screen.at(middle - 101, 300), kYellow) << middle;
    }
    PumpFor(200);
  }
  EXPECT_TRUE(seenLeft && seenRight) << "left " << seenLeft << ", right " << seenRight;

  SetForegroundWindow(window);
  PressKey(VK_SPACE);
  EXPECT_EQ(WaitForExit(child), 0u);
  DestroyWindow(desktop);
}

}  // namespace
