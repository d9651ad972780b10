// The designer run as a saver plays its settings with the same pixels as the packaged saver
// built from them, including a white outline that touches a non-white corner area (transparent
// in both), and finds relative names in its own folder, as Create does, whatever the current
// folder is.
#include <gtest/gtest.h>

#include "designer_driver.h"
#include "input_events.h"
#include "scene_art.h"

namespace {

const uint32_t kBackground = 0x00008000;  // red 0, green 128, blue 0, as the screen reads it

// The whole screen while the saver runs, once its first pictures are up.
std::vector<uint32_t> FullScreenPicture(const std::string& program, const std::string& shot) {
  ChildProcess saver = StartProgram(program, "/s");
  HWND window = WaitForProcessWindow(saver.id, "WindowsScreenSaverClass", "Screen Saver");
  EXPECT_NE(window, nullptr) << program;
  PumpFor(1500);
  RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  std::vector<uint32_t> pixels = ScreenPixels(screen);
  WriteScreenshot(ArtefactFolder() + shot + ".bmp", screen);
  PressKey('M');
  EXPECT_EQ(WaitForExit(saver), 0u) << program;
  return pixels;
}

// Under this Wine a child window of another process's window never reaches the screen, so
// the preview's pixels cannot be read from outside; its picture is the full-screen one shrunk
// by the engine for both programs (compared natively). Here: both run in the preview and end
// with it.
void RunPreview(const std::string& program) {
  HWND parent = CreateWindowExA(0, "STATIC", "Display settings", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 170, 150,
                                nullptr, nullptr, nullptr, nullptr);
  ChildProcess saver = StartProgram(program, "/p " + std::to_string(reinterpret_cast<ULONG_PTR>(parent)));
  DWORD startError = GetLastError();
  EXPECT_NE(saver.process, nullptr) << "cannot start " << program << ": error " << startError;
  EXPECT_TRUE(WaitUntil([&] { return FindWindowExA(parent, nullptr, "WindowsScreenSaverClass", nullptr) != nullptr; }))
      << program;
  PumpFor(500);
  EXPECT_EQ(WaitForSingleObject(saver.process, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << program;
  DestroyWindow(parent);
  EXPECT_EQ(WaitForExit(saver), 0u) << program;
}

TEST(DesignerPlayback, SamePixelsAsThePackagedSaverAndAPreviewOfEach) {
  std::string folder = DesignerFolder();
  std::string designer = DesignerCopy();
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  // Frames as large as the screen, bouncing and still, sit at 0,0 at their natural size
  // whatever the random numbers are, so the two runs can be compared pixel for pixel.
  Picture32 magenta(w, h, 0x00FF00FF);
  magenta.Disc(w / 3, h / 2, 120, 0x00FFFFFF);  // the white outline touches the magenta corner area
  magenta.Disc(w / 3, h / 2, 110, 0x000000FF);
  magenta.Fill(20, 20, 60, 60, 0x00FFFFFF);  // a white area inside the corner area
  ASSERT_TRUE(WriteBmp24(folder + "magenta.bmp", magenta));
  Picture32 white(w, h, 0x00FFFFFF);
  white.Disc(2 * w / 3, h / 3, 90, 0x00FF0000);
  white.Disc(2 * w / 3, h / 3, 40, 0x0000FFFF);
  ASSERT_TRUE(WriteBmp24(folder + "white.bmp", white));
  WriteSettings(
      "[Initial]\r\nCrear=1\r\n"
      "[BackGround]\r\nColorR=0\r\nColorG=128\r\nColorB=0\r\n"
      "[Character]\r\nA0=magenta.bmp\r\nB0=white.bmp\r\n"
      "[Speed]\r\nAX=0\r\nAY=0\r\nAZ=0\r\nBX=0\r\nBY=0\r\nBZ=0\r\n");
  std::string packaged = folder + "playback.scr";
  DeleteFileA(packaged.c_str());
  ASSERT_EQ(PackSettings(packaged), 0u);

  // Both start in a folder that holds none of the pictures.
  char previous[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, previous);
  SetCurrentDirectoryA(ProgramFolder().c_str());
  std::vector<uint32_t> fromSettings = FullScreenPicture(designer, "playback-designer");
  std::vector<uint32_t> fromPackage = FullScreenPicture(packaged, "playback-packaged");
  RunPreview(designer);
  RunPreview(packaged);
  SetCurrentDirectoryA(previous);

  ASSERT_EQ(fromSettings.size(), size_t(w) * h);
  size_t differing = 0;
  for (size_t i = 0; i < fromSettings.size(); ++i) differing += fromSettings[i] != fromPackage[i];
  EXPECT_EQ(differing, 0u) << "pixels differ between playback and the packaged saver";
  auto at = [&](int x, int y) { return fromSettings[size_t(y) * w + x]; };
  EXPECT_EQ(at(w / 3, h / 2 - 115), kBackground) << "the white outline is transparent";
  EXPECT_EQ(at(40, 40), kBackground) << "so is the white area inside the corner area";
  EXPECT_EQ(at(w / 3, h / 2), 0x00FF0000u) << "the red figure is drawn";
  EXPECT_EQ(at(2 * w / 3, h / 3), 0x00FFFF00u) << "the yellow centre of the second character";

  ClearSettings();
}

TEST(DesignerPlayback, PicturesPlayWithThePackagedSaversPixelsAndTransparentWhereTransparent) {
  std::string folder = DesignerFolder();
  std::string designer = DesignerCopy();
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  ASSERT_EQ(w, 1024) << "the screen-sized pictures are drawn for the private session's 1024 x 768 screen";
  ASSERT_EQ(h, 768);
  for (const char* name : {"screen-sprite.png", "screen-anim.gif", "screen-photo.jpg", "screen-wall.png"})
    ASSERT_TRUE(CopyFileA((PictureFixtureFolder() + name).c_str(), (folder + name).c_str(), FALSE)) << name;
  WriteSettings(ReadWholeFile(PictureFixtureFolder() + "playback.ini"));
  std::string packaged = folder + "pictures.scr";
  DeleteFileA(packaged.c_str());
  ASSERT_EQ(PackSettings(packaged), 0u);

  std::vector<uint32_t> fromSettings = FullScreenPicture(designer, "pictures-designer");
  std::vector<uint32_t> fromPackage = FullScreenPicture(packaged, "pictures-packaged");
  ASSERT_EQ(fromSettings.size(), size_t(w) * h);
  size_t differing = 0;
  for (size_t i = 0; i < fromSettings.size(); ++i) differing += fromSettings[i] != fromPackage[i];
  EXPECT_EQ(differing, 0u) << "pixels differ between playback and the packaged saver";

  auto at = [&](int x, int y) { return fromSettings[size_t(y) * w + x]; };
  EXPECT_EQ(at(w / 4, h / 2), 0x00DC1E28u) << "the PNG sprite's figure, seen through the JPEG's white";
  EXPECT_EQ(at(w / 4, h / 2 - h / 5 - 3), 0x00FFFFFFu) << "its white rim is drawn";
  EXPECT_EQ(at(w / 4, h / 2 - h / 5 - 6), 0x00FEFEFEu) << "and its edge beside the transparent area, as 254, 254, 254";
  EXPECT_EQ(at(3 * w / 4, h / 2), 0x00285AE6u) << "the GIF's first frame";
  // Where the PNG and the GIF are transparent and the JPEG is white, the stretched wallpaper
  // shows: red rising across it, green 100 at the top, blue 90.
  const uint32_t wall = at(w / 2, 4);
  EXPECT_EQ(wall & 0xFFFF, 0x645Au) << std::hex << wall;
  EXPECT_NEAR(int(wall >> 16), 96, 6) << std::hex << wall;
  ClearSettings();
}

}  // namespace
