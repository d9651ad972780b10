// The GDI surface layer under Wine: the agreement scene gives the pixel buffers' pictures,
// masks come out the same, and every GDI object the scene made is gone after the clean-up.
#include <gtest/gtest.h>
#include <wincodec.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "agreement_scene.h"
#include "bitmap_intake.h"
#include "dib_image.h"
#include "dib_record.h"
#include "engine.h"
#include "gdi_pixels.h"
#include "gdi_test_host.h"
#include "surface.h"
#include "surface_gdi.h"
#include "byte_stream.h"
#include "package_records.h"
#include "package_source.h"
#include "tick_schedule.h"

namespace {

// Written by engine_soft_render into the working folder, unless another path is given.
std::string softPicturesPath = "soft_pictures.bin";

TEST(GdiSurfaces, DrawTheSamePicturesAsThePixelBuffers) {
  FILE* file = fopen(softPicturesPath.c_str(), "rb");
  ASSERT_NE(file, nullptr) << "no pictures from engine_soft_render at " << softPicturesPath;
  GdiTestHost host;
  OpenGdiTestHost(&host);
  std::vector<RenderedPicture> gdi = RenderAgreementScene(&host.base, ReadGdiPixels);
  ASSERT_EQ(gdi.size(), static_cast<size_t>(kAgreementPaints));
  int compared = 0;
  for (int paint = 0; paint < kAgreementPaints; ++paint) {
    uint8_t scaled = 0;
    std::vector<uint32_t> soft(kAgreementWidth * kAgreementHeight);
    ASSERT_EQ(fread(&scaled, 1, 1, file), 1u);
    ASSERT_EQ(fread(soft.data(), 4, soft.size(), file), soft.size());
    ASSERT_EQ(scaled != 0, gdi[paint].scaled) << "paint " << paint;
    if (scaled) continue;
    ++compared;
    size_t differing = 0, first = 0;
    for (size_t i = 0; i < soft.size(); ++i)
      if (soft[i] != gdi[paint].pixels[i] && differing++ == 0) first = i;
    EXPECT_EQ(differing, 0u) << "paint " << paint << ": first at (" << first % kAgreementWidth
                             << ", " << first / kAgreementWidth << ") soft " << std::hex
                             << soft[first] << " gdi " << gdi[paint].pixels[first];
  }
  fclose(file);
  EXPECT_GE(compared, 8);
  EXPECT_LT(compared, kAgreementPaints);  // some pictures are scaled, so both paths ran
}

TEST(GdiSurfaces, ThePreviewShrinksColourOnColourIntoTheWindow) {
  // A window lower than 128 pixels gets the whole picture shrunk; every pixel must be one of
  // the picture's own colours, never an AND of dropped ones, also in a window's own context.
  GdiTestHost host;
  OpenGdiTestHost(&host);
  SceneModel scene;
  LoadAgreementScene(&scene, &host.base);
  scene.windowWidth = 133;
  scene.windowHeight = 100;
  Surface* preview = CreateSurface(scene.referenceContext, 133, 100);
  ComposePicture(&scene);
  PresentPicture(&scene, preview);
  std::vector<uint32_t> whole, shrunk;
  ReadGdiPixels(scene.workBuffer, &whole);
  ReadGdiPixels(preview, &shrunk);
  std::sort(whole.begin(), whole.end());
  for (size_t i = 0; i < shrunk.size(); ++i)
    ASSERT_TRUE(std::binary_search(whole.begin(), whole.end(), shrunk[i]))
        << "pixel " << i << " " << std::hex << shrunk[i];
  // The wallpaper (yellow) and the background colour both reach the preview.
  EXPECT_NE(std::count(shrunk.begin(), shrunk.end(), 0x0000FFFFu), 0);
  EXPECT_NE(std::count(shrunk.begin(), shrunk.end(), 0x00503010u), 0);

  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "PreviewProbe";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(WS_EX_TOPMOST, "PreviewProbe", "", WS_POPUP | WS_VISIBLE, 0, 0, 133,
                                100, nullptr, nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  HDC context = GetDC(window);
  GdiSurface target = BorrowedSurface(context);
  PresentPicture(&scene, &target);
  ReleaseDC(window, context);
  GdiFlush();
  Sleep(200);
  std::vector<uint32_t> onScreen;
  ReadWindow(window, 133, 100, &onScreen);
  size_t differing = 0, first = 0;
  for (size_t i = 0; i < shrunk.size(); ++i)
    if (onScreen[i] != shrunk[i] && differing++ == 0) first = i;
  EXPECT_EQ(differing, 0u) << "first at " << first % 133 << "," << first / 133 << std::hex << " screen "
                           << onScreen[first] << " memory " << shrunk[first];
  DestroyWindow(window);
  ReleaseSurface(preview);
  ReleaseScene(&scene);
}

// Every form a frame record can take, as the builder's intake makes it from real files: GDI,
// through the record's own colour table, must give the colours the shared decoder gives.
TEST(GdiSurfaces, FrameRecordsOfEveryFormDecodeAsTheSharedDecoderDoes) {
  const char* files[] = {"pal1.bmp", "pal4.bmp", "pal8.bmp", "pal8-rle.bmp", "bits555.bmp",
                         "bits565.bmp", "rgb24.bmp", "rgb24-v5.bmp", "bits8888.bmp"};
  Surface* reference = OpenDisplayReference();
  for (const char* name : files) {
    std::string path = std::string(MORVANE_BITMAP_FIXTURES) + "/" + name;
    FILE* file = fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr) << path;
    std::vector<uint8_t> bytes;
    uint8_t chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    fclose(file);
    MemoryByteSource source(bytes.data(), bytes.size());
    BitmapRecord record = {};
    const char* why = nullptr;
    ASSERT_TRUE(IntakeBitmap(&source, &record, &why)) << name << ": " << why;
    std::vector<uint8_t> header(record.infoHeader, record.infoHeader + 40);
    header.insert(header.end(), record.colours, record.colours + 4 * record.colourCount);

    ASSERT_TRUE(DibRecordFits(header.data(), static_cast<uint32_t>(header.size()), record.bitsSize)) << name;
    DibPixels decoded;
    ASSERT_TRUE(DecodeDib(header.data(), header.size(), record.bits, record.bitsSize, &decoded, &why))
        << name << ": " << why;
    Surface* drawn = LoadDibSurface(reference, header.data(), static_cast<uint32_t>(header.size()),
                                    record.bits, record.bitsSize);
    ASSERT_NE(drawn, nullptr) << name;
    ASSERT_EQ(SurfaceWidth(drawn), decoded.width) << name;
    ASSERT_EQ(SurfaceHeight(drawn), decoded.height) << name;
    std::vector<uint32_t> pixels;
    ReadGdiPixels(drawn, &pixels);
    size_t differing = 0;
    for (size_t i = 0; i < pixels.size(); ++i) differing += pixels[i] != decoded.pixels[i];
    EXPECT_EQ(differing, 0u) << name;
    ReleaseSurface(drawn);
    ReleaseDibPixels(&decoded);
    ReleaseBitmapRecord(&record);
  }
  ReleaseSurface(reference);
}

// A packed BITMAPINFO with a four-colour table.
std::vector<uint8_t> InfoHeader(int32_t width, int32_t height, uint16_t bits, uint32_t compression,
                                uint32_t imageSize, uint32_t colours) {
  std::vector<uint8_t> h(40 + 4 * colours, 0);
  auto put = [&h](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) h[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  put(0, 40);
  put(4, static_cast<uint32_t>(width));
  put(8, static_cast<uint32_t>(height));
  h[12] = 1;
  h[14] = static_cast<uint8_t>(bits);
  put(16, compression);
  put(20, imageSize);
  put(32, colours);
  const uint32_t table[] = {0x00112233, 0x00FF0000, 0x0000FF00, 0x000000FF};
  for (uint32_t k = 0; k < colours; ++k) put(40 + 4 * k, table[k % 4]);
  return h;
}

TEST(GdiSurfaces, RunLengthFourAndTopDownRecordsDecodeAsTheSharedDecoderDoes) {
  // RLE4, bottom row first: a run of six alternating pixels, then an absolute run of four and
  // a run of two, each row closed, then the end of the picture.
  const std::vector<uint8_t> rle4 = {6, 0x12, 0, 0, 0, 4, 0x30, 0x12, 2, 0x33, 0, 0, 0, 1};
  const std::vector<uint8_t> rgb = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0,
                                    9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 0, 0};
  const struct {
    const char* name;
    std::vector<uint8_t> header, bits;
  } records[] = {
      {"rle4", InfoHeader(6, 2, 4, 2, static_cast<uint32_t>(rle4.size()), 4), rle4},
      {"top-down 24", InfoHeader(3, -2, 24, 0, 24, 0), rgb},
  };
  Surface* reference = OpenDisplayReference();
  for (const auto& r : records) {
    ASSERT_TRUE(DibRecordFits(r.header.data(), static_cast<uint32_t>(r.header.size()),
                              static_cast<uint32_t>(r.bits.size()))) << r.name;
    DibPixels decoded;
    const char* why = nullptr;
    ASSERT_TRUE(DecodeDib(r.header.data(), r.header.size(), r.bits.data(), r.bits.size(), &decoded, &why))
        << r.name << ": " << why;
    Surface* drawn = LoadDibSurface(reference, r.header.data(), static_cast<uint32_t>(r.header.size()),
                                    r.bits.data(), static_cast<uint32_t>(r.bits.size()));
    ASSERT_NE(drawn, nullptr) << r.name;
    std::vector<uint32_t> pixels;
    ReadGdiPixels(drawn, &pixels);
    ASSERT_EQ(pixels.size(), static_cast<size_t>(decoded.width) * decoded.height) << r.name;
    for (size_t i = 0; i < pixels.size(); ++i)
      EXPECT_EQ(pixels[i], decoded.pixels[i]) << r.name << " pixel " << i;
    ReleaseSurface(drawn);
    ReleaseDibPixels(&decoded);
  }
  ReleaseSurface(reference);
}

TEST(GdiSurfaces, FloodFillIsFourConnectedAndStaysInsideThePicture) {
  Surface* reference = OpenDisplayReference();
  Surface* s = CreateSurface(reference, 4, 3);
  FillSurface(s, 0, 0, 4, 3, 0x0000FF);
  FillSurface(s, 2, 0, 3, 3, 0x00FF00);  // a green wall in column 2
  FillSurface(s, 3, 1, 4, 2, 0x00FF00);
  FloodFillSurface(s, 0, 0, 0x0000FF, kWhite);
  EXPECT_EQ(ReadSurfacePixel(s, 1, 2), kWhite);
  EXPECT_EQ(ReadSurfacePixel(s, 3, 0), 0x0000FFu);  // beyond the wall
  EXPECT_EQ(ReadSurfacePixel(s, 3, 2), 0x0000FFu);  // touches column 2's pixels only
  FloodFillSurface(s, 4, 0, 0x0000FF, kBlack);      // outside: nothing
  EXPECT_EQ(ReadSurfacePixel(s, 3, 0), 0x0000FFu);
  EXPECT_EQ(ReadSurfacePixel(s, 4, 0), kInvalidColour);
  ReleaseSurface(s);
  ReleaseSurface(reference);
}

TEST(GdiSurfaces, TheCleanUpDeletesEveryContextAndBitmap) {
  GdiTestHost host;
  OpenGdiTestHost(&host);
  SceneModel scene;
  LoadAgreementScene(&scene, &host.base);
  std::vector<HGDIOBJ> handles;
  auto note = [&handles](const Surface* s) {
    if (!s) return;
    handles.push_back(AsGdiSurface(s)->context);
    if (AsGdiSurface(s)->bitmap) handles.push_back(AsGdiSurface(s)->bitmap);
  };
  note(scene.referenceContext);
  note(scene.backgroundBuffer);
  note(scene.workBuffer);
  for (int i = 0; i < scene.characterCount; ++i)
    for (int j = 0; j < scene.characters[i].frameCount; ++j) {
      note(scene.characters[i].frames[j].sprite);
      note(scene.characters[i].frames[j].mask);
    }
  ASSERT_GT(handles.size(), 20u);
  for (HGDIOBJ h : handles) ASSERT_NE(GetObjectType(h), 0u);
  ReleaseScene(&scene);
  for (HGDIOBJ h : handles) EXPECT_EQ(GetObjectType(h), 0u) << h;
}

// A PNG through the system's own decoder, as 0x00BBGGRR top row first.
bool ReadPngWithWic(const std::string& path, int32_t* width, int32_t* height, std::vector<uint32_t>* pixels) {
  CoInitialize(nullptr);
  IWICImagingFactory* factory = nullptr;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICFormatConverter* converter = nullptr;
  std::wstring wide(path.begin(), path.end());
  bool ok = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
            SUCCEEDED(factory->CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ,
                                                         WICDecodeMetadataCacheOnDemand, &decoder)) &&
            SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
            SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                            WICBitmapPaletteTypeCustom));
  UINT w = 0, h = 0;
  if (ok) ok = SUCCEEDED(converter->GetSize(&w, &h));
  if (ok) {
    pixels->resize(static_cast<size_t>(w) * h);
    ok = SUCCEEDED(converter->CopyPixels(nullptr, w * 4, w * h * 4, reinterpret_cast<BYTE*>(pixels->data())));
    for (uint32_t& v : *pixels) v = ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
    *width = static_cast<int32_t>(w);
    *height = static_cast<int32_t>(h);
  }
  if (converter) converter->Release();
  if (frame) frame->Release();
  if (decoder) decoder->Release();
  if (factory) factory->Release();
  CoUninitialize();
  return ok;
}

// The Linux renderer drew the same-pixels scene natively (linux_program_tests leaves it and its
// PNG in the native build); the GDI layer must draw the same picture after as many paints,
// along the same timeline of paints and frame changes.
TEST(GdiSurfaces, DrawWhatMorvaneRenderDrew) {
  const std::string folder = MORVANE_NATIVE_SAME_PIXELS;
  const std::string png = folder + "/render-" + std::to_string(kAgreementWidth) + "x" +
                          std::to_string(kAgreementHeight) + "-" + std::to_string(kSamePixelsPaints) + ".png";
  FILE* file = fopen((folder + "/same-pixels.scr").c_str(), "rb");
  if (!file) GTEST_SKIP() << "no " << folder << "/same-pixels.scr: the native linux_program_tests write it (make test runs them first)";
  std::vector<uint8_t> saver;
  uint8_t chunk[4096];
  size_t got;
  while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) saver.insert(saver.end(), chunk, chunk + got);
  fclose(file);
  ASSERT_EQ(saver, SamePixelsSaver()) << "the native build wrote another scene";
  int32_t width = 0, height = 0;
  std::vector<uint32_t> rendered;
  ASSERT_TRUE(ReadPngWithWic(png, &width, &height, &rendered)) << png;
  ASSERT_EQ(width, kAgreementWidth);
  ASSERT_EQ(height, kAgreementHeight);

  MemoryStream stream;
  OpenMemoryStream(&stream, saver.data() + kPlayerImageSize, static_cast<uint32_t>(saver.size() - kPlayerImageSize));
  PackageSource source;
  OpenPackageSource(&source, &stream.base);
  GdiTestHost host;
  OpenGdiTestHost(&host);
  SceneModel scene;
  LoadScene(&scene, &host.base, &source.base, SceneGeometry{width, height, 0, 0, width, height}, kSamePixelsSeed);
  Surface* window = CreateSurface(scene.referenceContext, width, height);
  TickSchedule schedule;
  StartTickSchedule(&schedule, host.redrawPeriod, host.framePeriod);
  for (int paints = 0; paints < kSamePixelsPaints;) {
    if (TakeNextTick(&schedule) == TickFrame) {
      AdvanceFrames(&scene);
    } else {
      PaintScene(&scene, window);
      ++paints;
    }
  }
  std::vector<uint32_t> gdi;
  ReadGdiPixels(window, &gdi);
  ReleaseSurface(window);
  ReleaseScene(&scene);
  size_t differing = 0, first = 0;
  for (size_t i = 0; i < gdi.size(); ++i)
    if (gdi[i] != rendered[i] && differing++ == 0) first = i;
  EXPECT_EQ(differing, 0u) << "first at (" << first % width << ", " << first / width << ") gdi " << std::hex
                           << gdi[first] << " morvane-render " << rendered[first];
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc > 1) softPicturesPath = argv[1];
  return RUN_ALL_TESTS();
}
