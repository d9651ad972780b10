// The engine inside a real saver window under Wine: the paint timer's paints present only what
// changed and ask the system for no paint message, and what the window shows stays, paint after
// paint, the whole composed picture, also where the system asks for an area to be drawn again;
// and the paints leave no GDI object, window or handle behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "byte_stream.h"
#include "engine.h"
#include "gdi_pixels.h"
#include "package_source.h"
#include "process_resources.h"
#include "saver_engine.h"
#include "saver_host.h"
#include "scene_bytes.h"
#include "surface_gdi.h"

namespace {

// What the test's saver window plays.
std::vector<uint8_t> packageBytes;

// Twelve characters over the whole screen: masked and opaque, bouncing and wrapping, some
// growing and shrinking, on a colour with a centred wallpaper.
std::vector<uint8_t> BusyPackage() {
  PackageBytes p;
  p.Memo({"paints"}).Timing(10, 2, 1);
  for (int i = 0; i < 12; ++i) {
    if (i % 3 == 0) {
      p.Frame(FrameRecordBody(Picture({"..........", "...rrrr...", "..rr..rr..", ".rr.#..rr.", ".rr....rr.",
                                       "..rr..rr..", "...rrrr...", ".........."})));
      p.Frame(SolidFrameRecordBody(24, 16, 0x00208040));
    } else {
      p.Frame(SolidFrameRecordBody(30 + 7 * i, 20 + 3 * i, 0x00101010u * static_cast<uint32_t>(i + 1)));
    }
    Motion motion;
    motion.speedX = (i % 2 ? -1 : 1) * (19 + 3 * i);
    motion.speedY = (i % 4 < 2 ? 1 : -1) * (11 + 2 * i);
    motion.speedDepth = i % 3 == 1 ? 9 : 0;
    motion.bounceX = motion.bounceY = i % 2;
    motion.bounceDepth = i % 4 == 1;
    p.Motion(motion);
  }
  std::vector<std::string> wall(60, std::string(80, 'y'));
  for (int y = 0; y < 60; ++y) wall[y][y] = 'b';
  p.Background(false, 0x00503010).Wallpaper(FrameRecordBody(wall), false).Sound({});
  return p.bytes();
}

const int32_t kWidth = 640, kHeight = 480;

// Differing pixels between the window and the work buffer's top-left window-sized part.
size_t DifferingPixels(HWND window, const SceneModel* scene, int32_t* firstX, int32_t* firstY) {
  std::vector<uint32_t> shown, composed;
  ReadWindow(window, kWidth, kHeight, &shown);
  GdiSurface work = BorrowedSurface(AsGdiSurface(scene->workBuffer)->context);
  work.width = kWidth;
  work.height = kHeight;
  ReadGdiPixels(&work, &composed);
  size_t differing = 0;
  for (size_t i = 0; i < shown.size(); ++i) {
    if (shown[i] == composed[i]) continue;
    if (differing++ == 0) *firstX = static_cast<int32_t>(i % kWidth), *firstY = static_cast<int32_t>(i / kWidth);
  }
  return differing;
}

ProcessResources OwnResources() {
  ProcessResources held = {};
  ResourceSources sources;
  EXPECT_TRUE(SampleProcessResources(GetCurrentProcess(), GetCurrentProcessId(), &held, &sources));
  return held;
}

// The counts that make soak reads from a playing saver are this process's own objects, one for
// one (under Wine from the process's GDI handle table), so a flat count means something.
TEST(ProcessResources, CountTheProcesssOwnObjects) {
  OwnResources();  // the first look at the windows makes the window system's own objects
  const ProcessResources before = OwnResources();
  HGDIOBJ made[30];
  for (int i = 0; i < 30; ++i)
    made[i] = i % 3 ? static_cast<HGDIOBJ>(CreateSolidBrush(RGB(i, 0, 0))) : CreateRectRgn(0, 0, i + 1, i + 1);
  EXPECT_EQ(OwnResources().gdiObjects, before.gdiObjects + 30);
  for (HGDIOBJ object : made) DeleteObject(object);
  EXPECT_EQ(OwnResources().gdiObjects, before.gdiObjects);
}

TEST(SaverPaints, TheWindowShowsTheWholePictureAfterEveryPaint) {
  packageBytes = BusyPackage();
  SaverHost host;
  OpenSaverHost(&host, GetModuleHandleA(nullptr), false);
  // Input and activation never end this window: the test's own focus changes would.
  host.preview = true;
  WNDCLASSA windowClass = {};
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;  // as the host's
  windowClass.lpfnWndProc = SaverWindowProc;
  windowClass.hInstance = host.module;
  windowClass.lpszClassName = "PaintProbe";
  ASSERT_TRUE(RegisterClassA(&windowClass));
  HWND window = CreateWindowExA(0, "PaintProbe", "", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr, nullptr,
                                host.module, &host);
  ASSERT_NE(window, nullptr);
  const SceneModel* scene = EngineSaverScene(&host);
  ASSERT_NE(scene, nullptr);
  ASSERT_NE(scene->workBuffer, nullptr);

  // What the window holds once the first paints and a repair have made the system's caches.
  const int kSettled = 40;
  ProcessResources settled = {};
  int paints = 0, timerPaints = 0, repairs = 0;
  MSG message;
  while (paints < 240 && GetMessageA(&message, nullptr, 0, 0) > 0) {
    const bool timerPaint =
        message.message == WM_TIMER && message.hwnd == window && message.wParam == kPaintTimerId;
    const bool paint = timerPaint || (message.message == WM_PAINT && message.hwnd == window);
    DispatchMessageA(&message);
    if (!paint) continue;
    ++paints;
    if (timerPaint) {
      // The paint timer paints without asking the system for a paint of its own.
      RECT asked = {0, 0, 0, 0};
      ASSERT_FALSE(GetUpdateRect(window, &asked, FALSE)) << "timer paint " << paints << " left an update region";
      ++timerPaints;
    }
    int32_t x = -1, y = -1;
    size_t differing = DifferingPixels(window, scene, &x, &y);
    ASSERT_EQ(differing, 0u) << "paint " << paints << ", first at " << x << "," << y;
    if (paints == kSettled) settled = OwnResources();
    if (paints > kSettled) {
      const ProcessResources now = OwnResources();
      ASSERT_EQ(now.gdiObjects, settled.gdiObjects) << "GDI objects after paint " << paints;
      ASSERT_EQ(now.userObjects, settled.userObjects) << "user objects after paint " << paints;
      ASSERT_EQ(now.handles, settled.handles) << "handles after paint " << paints;
    }
    if (paints % 20 == 10) {
      // What the system loses when something covered the window: the area is spoilt and then
      // handed back as the update region.
      HDC context = GetDC(window);
      RECT spoilt = {40 + paints, 30, 300 + paints, 200};
      FillRect(context, &spoilt, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      ReleaseDC(window, context);
      InvalidateRect(window, &spoilt, FALSE);
      ++repairs;
    }
  }
  EXPECT_EQ(paints, 240);
  EXPECT_GE(repairs, 10);
  // Every paint but the repairs and the window being shown comes straight from the timer.
  EXPECT_GE(timerPaints, paints - repairs - 1);
  DestroyWindow(window);
  EXPECT_EQ(EngineSaverScene(&host), nullptr) << "released with the window";
}

}  // namespace

// The program's part of the saver host: the engine over the test package; no configuration.
LRESULT SaverProcedure(SaverHost* host, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_CREATE) return EngineSaverProcedure(host, window, message, wParam, lParam);
  MemoryStream stream;
  OpenMemoryStream(&stream, packageBytes.data(), static_cast<uint32_t>(packageBytes.size()));
  PackageSource source;
  OpenPackageSource(&source, &stream.base);
  return StartEngineSaver(host, window, &source.base);
}
INT_PTR CALLBACK ConfigurationDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
BOOL WINAPI PrepareDialogClasses(HINSTANCE) { return TRUE; }
