#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "byte_order.h"
#include "byte_stream.h"
#include "dib_record.h"
#include "engine.h"
#include "host_soft.h"
#include "package_source.h"
#include "random.h"
#include "scene_bytes.h"
#include "surface.h"
#include "surface_soft.h"

namespace {

const uint32_t kSeed = 12345;
const SceneGeometry kScreen = {320, 240, 0, 0, 320, 240, 0, 0, 0, {}};

// 400 x 300, red with green columns at x 40 and 359: where a centred copy is cut shows.
std::vector<uint8_t> LargeWallpaper() {
  std::vector<std::string> rows(300, std::string(400, 'r'));
  for (int y = 0; y < 300; ++y) rows[y][40] = rows[y][359] = 'g';
  return FrameRecordBody(rows);
}

class Loading : public testing::Test {
 protected:
  void SetUp() override { OpenSoftHost(&host); }
  void TearDown() override {
    ReleaseScene(&scene);
    EXPECT_EQ(SoftLiveSurfaces(), 0) << "a surface outlived the scene";
    EXPECT_FALSE(host.timersRunning);
  }

  // The package into the scene, in the headless host as the test set it (timers it refuses, a
  // memory limit, a desktop).
  void Load(const std::vector<uint8_t>& bytes, const SceneGeometry& geometry = kScreen, uint32_t bandBytes = 0) {
    MemoryStream stream;
    OpenMemoryStream(&stream, bytes.data(), static_cast<uint32_t>(bytes.size()));
    PackageSource source;
    OpenPackageSource(&source, &stream.base);
    if (bandBytes) source.bandBytes = bandBytes;
    LoadScene(&scene, &host.base, &source.base, geometry, kSeed);
  }

  SoftHost host;
  SceneModel scene = {};
};

PackageBytes Start(uint8_t transparent = 0) {
  PackageBytes p;
  p.Memo({"first line", "", "third"}).Timing(40, 5, transparent);
  return p;
}

PackageBytes& Finish(PackageBytes& p) {
  return p.Background(false, 0x00336699).NoWallpaper().Sound({});
}

TEST_F(Loading, NoCharactersShowsOnlyTheBackground) {
  PackageBytes p = Start();
  Finish(p);
  Load(p.bytes());
  EXPECT_EQ(scene.characterCount, 0);
  EXPECT_EQ(host.redrawPeriod, 40);
  EXPECT_EQ(host.framePeriod, 200);
  EXPECT_TRUE(host.timersRunning);
  EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, 0, 0), 0x00336699u);
  EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, 319, 239), 0x00336699u);
  EXPECT_EQ(host.soundStarts, 0);
}

TEST_F(Loading, RandomCallsRollEveryCharacterBeforePlacingAny) {
  PackageBytes p = Start();
  Motion wraps;
  wraps.bounceX = wraps.bounceY = 0;
  for (int i = 0; i < 3; ++i) {
    p.Frame(SolidFrameRecordBody(20 + 10 * i, 10, 0x0000FF));
    p.Motion(i == 1 ? wraps : Motion{});
  }
  Finish(p);
  uint32_t random;
  SeedRandom(&random, kSeed);
  std::vector<int32_t> r;
  for (int i = 0; i < 9; ++i) r.push_back(NextRandom(&random));
  Load(p.bytes());
  ASSERT_EQ(scene.characterCount, 3);
  for (int i = 0; i < 3; ++i) {
    const CharacterState& c = scene.characters[i];
    const int32_t w0 = 20 + 10 * i;
    EXPECT_EQ(c.appearanceRoll, r[i] % 9);
    EXPECT_EQ(c.maxX, i == 1 ? 320 : 320 - w0);
    EXPECT_EQ(c.minX, i == 1 ? -w0 : 0);
    EXPECT_EQ(c.maxY, i == 1 ? 240 : 230);
    EXPECT_EQ(c.x, r[3 + 2 * i] % c.maxX);
    EXPECT_EQ(c.y, r[4 + 2 * i] % c.maxY);
    EXPECT_EQ(c.depth, 100);
    EXPECT_EQ(c.minDepth, 50);
    EXPECT_EQ(c.maxDepth, 200);
  }
}

TEST_F(Loading, TenFramesTwentyCharactersAndAFramelessOne) {
  PackageBytes p = Start(1);
  // Character 0: ten frames; the byte after the tenth is the motion tag, whatever it is.
  for (int j = 0; j < 10; ++j) p.Frame(SolidFrameRecordBody(4 + j, 3, 0x00FF00));
  Motion first;
  first.speedX = -7;
  first.visibleRate = 3;
  p.Motion(first);
  // Character 1: a motion record alone.
  Motion second;
  second.speedY = 9;
  p.Motion(second);
  for (int i = 2; i < 20; ++i) p.Frame(SolidFrameRecordBody(5, 5, 0xFF0000)).Motion(Motion{});
  // After the twentieth character the next byte is the background tag without a test.
  p.U8('X').I32(0).I32(1).I32(2).I32(3).NoWallpaper().Sound({});
  Load(p.bytes());
  ASSERT_EQ(scene.characterCount, 20);
  const CharacterState& c0 = scene.characters[0];
  EXPECT_EQ(c0.frameCount, 10);
  EXPECT_EQ(c0.frames[9].width, 13);
  EXPECT_EQ(c0.frames[0].hasMask, 1);
  EXPECT_EQ(c0.speedX, -7);
  EXPECT_EQ(c0.visibleRate, 3);
  const CharacterState& c1 = scene.characters[1];
  EXPECT_EQ(c1.frameCount, 0);
  EXPECT_EQ(c1.speedY, 9);
  EXPECT_EQ(c1.maxX, 320);  // w0 is 0
  EXPECT_EQ(scene.characters[19].frameCount, 1);
  EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, 5, 5), 0x00030201u);
}

TEST_F(Loading, TransparencyOffMakesNoMasks) {
  PackageBytes p = Start(0);
  p.Frame(SolidFrameRecordBody(8, 8, 0xFFFFFF)).Motion(Motion{});
  Finish(p);
  Load(p.bytes());
  EXPECT_EQ(scene.characters[0].frames[0].hasMask, 0);
  EXPECT_EQ(scene.characters[0].frames[0].mask, nullptr);
  EXPECT_EQ(ReadSurfacePixel(scene.characters[0].frames[0].sprite, 0, 0), kWhite);
}

TEST_F(Loading, BackgroundColourWallpaperAndDesktop) {
  Surface* desktop = CreateSurface(nullptr, 320, 240);
  FillSurface(desktop, 0, 0, 320, 240, 0x00445566);
  host.display = desktop;
  {
    // No colour and no wallpaper: the desktop copy stays.
    PackageBytes p = Start();
    p.Background(true, 0).NoWallpaper().Sound({});
    Load(p.bytes());
    EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, 100, 100), 0x00445566u);
    EXPECT_EQ(ReadSurfacePixel(scene.workBuffer, 100, 100), 0x00445566u);
    EXPECT_FALSE(scene.backgroundPlain);
    EXPECT_EQ(host.displayCopies, 1);
    ReleaseScene(&scene);
  }
  {
    // A centred wallpaper larger than the screen shows its middle part.
    PackageBytes p = Start();
    p.Background(false, 0).Wallpaper(LargeWallpaper(), false).Sound({});
    Load(p.bytes());
    EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, 1, 0), 0x0000FFu);
    EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, 0, 10), 0x00FF00u);   // (400-320)/2 = 40
    EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, 319, 10), 0x00FF00u);
    ReleaseScene(&scene);
  }
  {
    // A stretched wallpaper covers the whole buffer; a small centred one sits in the middle.
    PackageBytes p = Start();
    p.Background(false, 0x0000FF00).Wallpaper(SolidFrameRecordBody(3, 2, 0xFF0000), true).Sound({});
    Load(p.bytes());
    EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, 0, 0), 0xFF0000u);
    EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, 319, 239), 0xFF0000u);
    EXPECT_FALSE(scene.backgroundPlain);  // a colour under a wallpaper is not what shows
    ReleaseScene(&scene);
    PackageBytes q = Start();
    q.Background(false, 0x0000FF00).Wallpaper(SolidFrameRecordBody(4, 2, 0xFF0000), false).Sound({});
    Load(q.bytes());
    EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, 158, 119), 0xFF0000u);
    EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, 157, 119), 0x00FF00u);
    EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, 162, 119), 0x00FF00u);
  }
  ReleaseScene(&scene);
  ReleaseSurface(desktop);
}

TEST_F(Loading, EachMonitorShowsTheWallpaperAsASingleScreenWould) {
  // Two monitors of 320 x 240 side by side; the picture's corner lies at x 100 of the display.
  SceneGeometry twoMonitors = {640, 240, 0, 0, 640, 240, 100, 0, 2, {{0, 0, 320, 240}, {320, 0, 320, 240}}};
  Surface* desktop = CreateSurface(nullptr, 800, 240);
  FillSurface(desktop, 0, 0, 800, 240, 0x00445566);
  FillSurface(desktop, 100, 0, 101, 240, 0x00010203);
  host.display = desktop;
  {
    PackageBytes p = Start();
    p.Background(true, 0).NoWallpaper().Sound({});
    Load(p.bytes(), twoMonitors);
    EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, 0, 5), 0x00010203u) << "the desktop from the picture's corner";
    EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, 1, 5), 0x00445566u);
    ReleaseScene(&scene);
  }
  {
    // Larger than a monitor: each shows its middle part, cut at its own edges.
    PackageBytes p = Start();
    p.Background(false, 0).Wallpaper(LargeWallpaper(), false).Sound({});
    Load(p.bytes(), twoMonitors);
    for (int32_t x : {0, 319, 320, 639}) EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, x, 10), 0x00FF00u) << x;
    EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, 318, 10), 0x0000FFu);
    EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, 321, 10), 0x0000FFu);
    ReleaseScene(&scene);
  }
  {
    // Stretched over each monitor: red then blue on each.
    PackageBytes p = Start();
    p.Background(false, 0).Wallpaper(FrameRecordBody({"rb"}), true).Sound({});
    Load(p.bytes(), twoMonitors);
    const uint32_t expected[] = {0x0000FF, 0x0000FF, 0xFF0000, 0xFF0000, 0x0000FF, 0x0000FF, 0xFF0000, 0xFF0000};
    const int32_t columns[] = {0, 159, 160, 319, 320, 479, 480, 639};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, columns[i], 100), expected[i]) << columns[i];
  }
  ReleaseScene(&scene);
  ReleaseSurface(desktop);
}

// A w x h wallpaper record body whose neighbouring pixels differ, so that a row or column taken
// from the wrong place shows: 8 bits with a colour table stored top-down, or 24 bits bottom-up.
std::vector<uint8_t> DistinctWallpaper(int32_t w, int32_t h, bool paletted) {
  const uint32_t bitCount = paletted ? 8 : 24;
  const uint32_t stride = ((static_cast<uint32_t>(w) * bitCount + 31) / 32) * 4;
  const uint32_t headerSize = 40 + (paletted ? 1024 : 0);
  std::vector<uint8_t> body(8 + headerSize + stride * h);
  uint8_t* header = body.data() + 8;
  WriteU32LE(body.data(), headerSize);
  WriteU32LE(body.data() + 4, stride * h);
  WriteU32LE(header, 40);
  WriteU32LE(header + 4, static_cast<uint32_t>(w));
  WriteU32LE(header + 8, static_cast<uint32_t>(paletted ? -h : h));
  WriteU16LE(header + 12, 1);
  WriteU16LE(header + 14, static_cast<uint16_t>(bitCount));
  WriteU32LE(header + 32, paletted ? 256 : 0);
  for (uint32_t i = 0; paletted && i < 256; ++i) WriteU32LE(header + 40 + 4 * i, i | (255 - i) << 8 | (i * 3 & 255) << 16);
  uint8_t* bits = header + headerSize;
  for (int32_t row = 0; row < h; ++row) {
    uint8_t* out = bits + static_cast<size_t>(row) * stride;
    for (int32_t x = 0; x < w; ++x) {
      if (paletted) {
        out[x] = static_cast<uint8_t>(x * 7 + row * 13);
      } else {
        out[3 * x] = static_cast<uint8_t>(x), out[3 * x + 1] = static_cast<uint8_t>(row), out[3 * x + 2] = static_cast<uint8_t>(x ^ row);
      }
    }
  }
  return body;
}

TEST_F(Loading, AWallpaperDrawnBandByBandGivesThePixelsOfTheWholePicture) {
  const SceneGeometry unequalMonitors = {640, 240, 0, 0, 640, 240, 0, 0, 2, {{0, 0, 400, 240}, {400, 10, 240, 200}}};
  struct Case {
    int32_t width, height;
    bool stretch, paletted;
  } cases[] = {{700, 500, true, false}, {37, 23, true, false}, {321, 241, true, true},
               {500, 300, false, false}, {37, 23, false, true}, {401, 239, false, true}};
  for (const SceneGeometry& geometry : {kScreen, unequalMonitors}) {
    for (const Case& c : cases) {
      const std::vector<uint8_t> body = DistinctWallpaper(c.width, c.height, c.paletted);
      // The whole picture drawn at once onto the background colour is what the bands must give.
      PackageBytes plain = Start();
      plain.Background(false, 0x00123456).NoWallpaper().Sound({});
      Load(plain.bytes(), geometry);
      Surface* expected = CreateSurface(nullptr, geometry.screenWidth, geometry.screenHeight);
      TransferSurface(expected, 0, 0, geometry.screenWidth, geometry.screenHeight, scene.backgroundBuffer, 0, 0, RopSrcCopy);
      ReleaseScene(&scene);
      std::vector<uint8_t> header(body.begin() + 8, body.begin() + 8 + ReadU32LE(body.data()));
      Surface* whole = LoadRecordSurface(nullptr, header.data(), static_cast<uint32_t>(header.size()),
                                         body.data() + 8 + header.size(), ReadU32LE(body.data() + 4));
      ASSERT_NE(whole, nullptr);
      for (int32_t i = 0; i < geometry.monitorCount || i == 0; ++i) {
        const SceneArea m = geometry.monitorCount ? geometry.monitors[i] : SceneArea{0, 0, 320, 240};
        if (c.stretch) {
          StretchSurface(expected, m.left, m.top, m.width, m.height, whole, 0, 0, c.width, c.height, RopSrcCopy);
          continue;
        }
        // Centred at its natural size, cut at the monitor's edges.
        const int32_t left = m.left + (m.width - c.width) / 2, top = m.top + (m.height - c.height) / 2;
        const int32_t x0 = std::max(left, m.left), y0 = std::max(top, m.top);
        const int32_t x1 = std::min(left + c.width, m.left + m.width), y1 = std::min(top + c.height, m.top + m.height);
        TransferSurface(expected, x0, y0, x1 - x0, y1 - y0, whole, x0 - left, y0 - top, RopSrcCopy);
      }
      ReleaseSurface(whole);
      // One row a band, and bands of several rows with a shorter last one.
      for (uint32_t bandBytes : {1u, 5000u}) {
        PackageBytes p = Start();
        p.Background(false, 0x00123456).Wallpaper(body, c.stretch).Sound({});
        Load(p.bytes(), geometry, bandBytes);
        int differing = 0;
        for (int32_t y = 0; y < geometry.screenHeight; ++y)
          for (int32_t x = 0; x < geometry.screenWidth; ++x)
            differing += ReadSurfacePixel(scene.backgroundBuffer, x, y) != ReadSurfacePixel(expected, x, y);
        EXPECT_EQ(differing, 0) << c.width << "x" << c.height << (c.stretch ? " stretched" : " centred") << " on "
                                << geometry.monitorCount << " monitors, bands of " << bandBytes << " bytes";
        ReleaseScene(&scene);
      }
      ReleaseSurface(expected);
    }
  }
}

TEST_F(Loading, BuffersLargerThanTheMemoryReportAFailureBeforeAnythingIsMade) {
  PackageBytes p = Start();
  p.Frame(SolidFrameRecordBody(8, 8, 0)).Motion(Motion{});
  Finish(p);
  const uint64_t twoBuffers = 2 * 320 * 240 * 4;  // at four bytes a pixel
  for (uint64_t limit : {twoBuffers - 1, twoBuffers}) {
    OpenSoftHost(&host);
    host.memoryLimit = limit;
    Load(p.bytes());
    const bool enough = limit == twoBuffers;
    EXPECT_EQ(host.startupFailures, enough ? 0 : 1) << limit;
    EXPECT_EQ(scene.workBuffer != nullptr, enough) << limit;
    ReleaseScene(&scene);
  }
}

TEST_F(Loading, PreviewWindowsColourTheWholeBuffer) {
  Surface* desktop = CreateSurface(nullptr, 320, 240);
  host.display = desktop;
  PackageBytes p = Start();
  Finish(p);
  Load(p.bytes(), SceneGeometry{320, 240, 10, 10, 110, 138, 0, 0, 0, {}});  // 128 high: the window only
  EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, 5, 5), 0u);
  EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, 10, 10), 0x00336699u);
  EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, 110, 100), 0u);
  // The desktop still shows around the window, so restoring an area is a copy.
  EXPECT_FALSE(scene.backgroundPlain);
  EXPECT_EQ(host.displayCopies, 1);
  ReleaseScene(&scene);
  // A colour over the whole picture hides the desktop: it is never read, and the work buffer
  // starts as the background.
  host.displayCopies = 0;
  Load(p.bytes(), SceneGeometry{320, 240, 10, 10, 110, 137, 0, 0, 0, {}});  // 127 high: a preview
  EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, 5, 5), 0x00336699u);
  EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, 319, 239), 0x00336699u);
  EXPECT_TRUE(scene.backgroundPlain);
  EXPECT_EQ(scene.backgroundColour, 0x00336699u);
  EXPECT_EQ(host.displayCopies, 0);
  EXPECT_EQ(ReadSurfacePixel(scene.workBuffer, 319, 239), 0x00336699u);
  ReleaseScene(&scene);
  ReleaseSurface(desktop);
}

TEST_F(Loading, SoundIsKeptAndStoppedAtTheEnd) {
  PackageBytes p = Start();
  p.Background(true, 0).NoWallpaper().Sound({'R', 'I', 'F', 'F', 1, 2, 3});
  Load(p.bytes());
  EXPECT_EQ(host.soundStarts, 1);
  ASSERT_EQ(host.soundSize, 7);
  EXPECT_EQ(memcmp(host.soundData, "RIFF\1\2\3", 7), 0);
  ReleaseScene(&scene);
  EXPECT_EQ(host.soundStops, 1);
}

TEST_F(Loading, TimersThatCannotStartStopEverything) {
  PackageBytes p = Start();
  p.Frame(SolidFrameRecordBody(8, 8, 0)).Motion(Motion{});
  Finish(p);
  host.refuseTimers = true;
  Load(p.bytes());
  EXPECT_EQ(host.startupFailures, 1);
  EXPECT_EQ(scene.characterCount, 0);
  EXPECT_EQ(scene.workBuffer, nullptr);
}

TEST_F(Loading, BuffersThatCannotBeMadeReportAFailure) {
  PackageBytes p = Start();
  p.Frame(SolidFrameRecordBody(8, 8, 0)).Motion(Motion{});
  Finish(p);
  Load(p.bytes(), SceneGeometry{});
  EXPECT_EQ(host.startupFailures, 1);
  EXPECT_EQ(scene.characterCount, 1);  // released by the clean-up, like a destroyed window
}

// A frame record whose header or sizes are damaged.
std::vector<uint8_t> Damaged(void (*damage)(std::vector<uint8_t>*)) {
  std::vector<uint8_t> body = SolidFrameRecordBody(6, 4, 0x0000FF);
  damage(&body);
  return body;
}

void PutU32At(std::vector<uint8_t>* body, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) (*body)[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

TEST_F(Loading, DamagedFrameRecordsBecomeFramesWithoutAPicture) {
  std::vector<std::vector<uint8_t>> damaged = {
      // Header size below 40 (the record is still consumed by its stated sizes).
      Damaged([](std::vector<uint8_t>* b) {
        PutU32At(b, 0, 36);
        b->erase(b->begin() + 8 + 36, b->begin() + 8 + 40);
      }),
      // Header size not matching the colour count (8 bits, 256 entries, none stored).
      Damaged([](std::vector<uint8_t>* b) { (*b)[8 + 14] = 8; }),
      // A pixel block smaller than the picture needs.
      Damaged([](std::vector<uint8_t>* b) {
        PutU32At(b, 4, 10);
        b->resize(8 + 40 + 10);
      }),
      // A picture beyond the side limit.
      Damaged([](std::vector<uint8_t>* b) { PutU32At(b, 8 + 4, 100000); }),
      // An unknown compression.
      Damaged([](std::vector<uint8_t>* b) { PutU32At(b, 8 + 16, 9); }),
  };
  for (size_t k = 0; k < damaged.size(); ++k) {
    PackageBytes p = Start(1);
    p.Frame(SolidFrameRecordBody(6, 4, 0x00FF00)).Frame(damaged[k]).Motion(Motion{});
    p.Frame(SolidFrameRecordBody(7, 5, 0x00FF00)).Motion(Motion{});
    Finish(p);
    Load(p.bytes());
    ASSERT_EQ(scene.characterCount, 2) << "case " << k;
    const CharacterState& c = scene.characters[0];
    EXPECT_EQ(c.frameCount, 2) << "case " << k;
    EXPECT_NE(c.frames[0].sprite, nullptr);
    EXPECT_EQ(c.frames[1].sprite, nullptr) << "case " << k;
    EXPECT_EQ(c.frames[1].hasMask, 0);
    EXPECT_EQ(scene.characters[1].frames[0].width, 7) << "case " << k;
    EXPECT_EQ(ReadSurfacePixel(scene.backgroundBuffer, 1, 1), 0x00336699u) << "case " << k;
    // Showing the damaged frame draws nothing.
    scene.characters[0].currentFrame = 1;
    scene.characters[0].visibleRate = 10;
    ComposePicture(&scene);
    ReleaseScene(&scene);
  }
}

TEST_F(Loading, SizesBeyondTheLimitsArePassedOverUnread) {
  PackageBytes p = Start();
  p.U8('B').I32(40).I32(0x7FFFFFFF);  // a pixel block far beyond the limit, and the package ends
  Load(p.bytes());
  EXPECT_EQ(scene.characterCount, 0);
  EXPECT_NE(scene.workBuffer, nullptr);
}

#ifdef __SANITIZE_ADDRESS__
// The address sanitizer's own hooks (its allocator interface; GCC ships no header for it).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*));
size_t largestAllocation = 0;
void NoteAllocation(const volatile void*, size_t size) {
  if (size > largestAllocation) largestAllocation = size;
}
void NoteRelease(const volatile void*) {}
#endif

TEST_F(Loading, SizeFieldsBeyondThePackagesEndAllocateNothingOfThatSize) {
#ifndef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "allocations are watched through the address sanitizer's hooks";
#else
  // A frame of a 2000 x 2000 picture claimed, 100 bytes there; then a sound of 200 MiB.
  const std::vector<uint8_t> frame = SolidFrameRecordBody(6, 4, 0x00FF00);
  PackageBytes claimsFrame = Start();
  claimsFrame.Frame(frame).Motion(Motion{});
  claimsFrame.U8('B').I32(40).I32(2000 * 2000 * 4);
  std::vector<uint8_t> header(frame.begin() + 8, frame.begin() + 8 + 40);
  for (uint8_t byte : header) claimsFrame.U8(byte);
  PackageBytes claimsSound = Start();
  Finish(claimsSound);
  std::vector<uint8_t> sound = claimsSound.bytes();
  sound.resize(sound.size() - 4);
  for (int shift = 0; shift < 32; shift += 8) sound.push_back(static_cast<uint8_t>((200u << 20) >> shift));
  sound.insert(sound.end(), 40, 0x11);
  const std::vector<uint8_t>* cases[] = {&claimsFrame.bytes(), &sound};
  for (const std::vector<uint8_t>* bytes : cases) {
    largestAllocation = 0;
    __sanitizer_install_malloc_and_free_hooks(NoteAllocation, NoteRelease);
    Load(*bytes);
    __sanitizer_install_malloc_and_free_hooks(nullptr, nullptr);
    EXPECT_LT(largestAllocation, 2u << 20) << "the screen buffers are the largest blocks of this scene";
    EXPECT_EQ(host.soundStarts, 0);
    if (bytes == &claimsFrame.bytes()) {
      ASSERT_EQ(scene.characterCount, 1) << "what came before the claim still plays";
      EXPECT_EQ(scene.characters[0].frameCount, 1);
    }
    ReleaseScene(&scene);
  }
#endif
}

TEST_F(Loading, EveryCutOfAPackagePlaysWhatCameBeforeIt) {
  PackageBytes p = Start(1);
  p.Frame(SolidFrameRecordBody(6, 4, 0x00FF00)).Frame(SolidFrameRecordBody(5, 5, 0x0000FF));
  p.Motion(Motion{});
  p.Frame(FrameRecordBody(Picture({"m..", ".r.", "..."}))).Motion(Motion{});
  p.Background(false, 0x00FF0000).Wallpaper(SolidFrameRecordBody(2, 2, 0x00FFFF), false);
  p.Sound({1, 2, 3, 4});
  const std::vector<uint8_t>& full = p.bytes();
  int lastCount = 0;
  for (size_t size = 0; size <= full.size(); ++size) {
    std::vector<uint8_t> cut(full.begin(), full.begin() + size);
    Load(cut);
    ASSERT_GE(scene.characterCount, lastCount) << "cut at " << size;
    lastCount = scene.characterCount;
    for (int i = 0; i < scene.characterCount; ++i)
      for (int j = 0; j < scene.characters[i].frameCount; ++j)
        ASSERT_NE(scene.characters[i].frames[j].sprite, nullptr) << "cut at " << size;
    ComposePicture(&scene);
    if (size < full.size()) {
      EXPECT_EQ(host.soundStarts, 0);
    }
    ReleaseScene(&scene);
    ASSERT_EQ(SoftLiveSurfaces(), 0) << "cut at " << size;
  }
  EXPECT_EQ(lastCount, 2);
  EXPECT_EQ(host.soundStarts, 1);
}

}  // namespace
