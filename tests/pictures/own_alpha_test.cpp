// Frames with their own alpha, from the decoded pixels through the builder's record to the
// blend of the pixel buffers: which frames keep their own pixels, that the rows a bitmap reader
// draws stay what they always were, and that our players blend what the picture holds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "dib_record.h"
#include "own_pixels.h"
#include "picture_frames.h"
#include "picture_intake.h"
#include "picture_record.h"
#include "surface.h"

namespace {

// A picture in letters: '-' transparent (hiding a colour that must not show), '#' black, '.'
// white, 's' a shadow (black at alpha 90), 'e' a soft red edge (alpha 200).
std::vector<uint8_t> Drawn(const std::vector<std::string>& rows) {
  std::vector<uint8_t> rgba;
  for (const std::string& row : rows)
    for (char c : row) {
      switch (c) {
        case '-': rgba.insert(rgba.end(), {12, 34, 56, 0}); break;
        case '#': rgba.insert(rgba.end(), {0, 0, 0, 255}); break;
        case '.': rgba.insert(rgba.end(), {255, 255, 255, 255}); break;
        case 's': rgba.insert(rgba.end(), {0, 0, 0, 90}); break;
        case 'e': rgba.insert(rgba.end(), {230, 20, 10, 200}); break;
      }
    }
  return rgba;
}

// A codec that hands out one RGBA frame, so that the builder's own path from decoded pixels to
// record is what is tested.
struct OneFrameCodec {
  PictureCodec base;
  std::vector<uint8_t> rgba;
  int32_t width, height;
  bool given;
};

PictureCodec OneFrameOperations() {
  PictureCodec codec = {};
  codec.begin = [](PictureCodec* c, PictureFormat, const SourceBytes*, int32_t* w, int32_t* h, const char**) {
    OneFrameCodec* self = reinterpret_cast<OneFrameCodec*>(c);
    *w = self->width;
    *h = self->height;
    return true;
  };
  codec.nextFrame = [](PictureCodec* c, uint8_t* rgba, const char**) {
    OneFrameCodec* self = reinterpret_cast<OneFrameCodec*>(c);
    if (self->given) return PictureEnded;
    std::memcpy(rgba, self->rgba.data(), self->rgba.size());
    self->given = true;
    return PictureFrameReady;
  };
  codec.end = [](PictureCodec*) {};
  return codec;
}

struct Built {
  BitmapRecord record;
  int notes;
};

Built Build(const std::vector<std::string>& rows, const PictureLook& look) {
  OneFrameCodec codec = {OneFrameOperations(), Drawn(rows), int32_t(rows[0].size()), int32_t(rows.size()), false};
  const uint8_t png[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PictureFrames frames;
  const char* why = nullptr;
  MemoryByteSource file(png, sizeof png);
  EXPECT_TRUE(OpenPictureFrames(&frames, &codec.base, file.Whole(), &why)) << why;
  Built built = {};
  EXPECT_EQ(NextPictureRecord(&frames, look, &built.record, &built.notes, &why), PictureFrameReady) << why;
  ClosePictureFrames(&frames);
  return built;
}

// Source over in real numbers, the definition the players' 8-bit blend must keep to within one.
uint32_t Over(const uint8_t* rgba, uint32_t under) {
  const double a = rgba[3] / 255.0;
  uint32_t out = 0;
  for (int channel = 0; channel < 3; ++channel) {
    const double below = (under >> (8 * channel)) & 0xFF;
    out |= static_cast<uint32_t>(std::lround(rgba[channel] * a + below * (1 - a))) << (8 * channel);
  }
  return out;
}

const uint32_t kUnder = 0x00407080;

TEST(OwnAlpha, FramesKeepTheirOwnPixelsExactlyWhereTheKeyColourCannotShowThem) {
  const struct {
    const char* name;
    std::vector<std::string> picture;
    bool keyedOwn, opaqueOwn;  // own pixels kept with the scene's transparency on, and off
    int keyedNotes;            // PictureLookNote bits with it on
    OwnTransparency alpha;
  } cases[] = {
      {"binary alpha, the corner free", {"-----", "-##.-", "-----"}, false, true, 0, kBinaryTransparency},
      {"binary alpha, a ring's hole", {"-----", "-###-", "-#-#-", "-###-", "-----"}, true, true, 0,
       kBinaryTransparency},
      {"binary alpha, the corner covered", {"##--", "#---", "----"}, true, true, 0, kBinaryTransparency},
      {"soft edges and a shadow", {"-----", "-e#e-", "-ess-", "-----"}, true, true, 0, kSoftTransparency},
      {"opaque", {"#.#", ".#."}, false, false, 0, kNoOwnTransparency},
  };
  for (const auto& c : cases) {
    for (bool keyed : {true, false}) {
      SCOPED_TRACE(std::string(c.name) + (keyed ? ", transparency on" : ", transparency off"));
      const PictureLook look = {keyed, 0x00102030, true};
      Built built = Build(c.picture, look);
      BitmapRecord& record = built.record;
      const int32_t w = int32_t(c.picture[0].size()), h = int32_t(c.picture.size());
      EXPECT_EQ(record.ownTransparency, c.alpha);
      if (keyed) {
        EXPECT_EQ(built.notes, c.keyedNotes);
      }

      // The rows a bitmap reader draws are the record the frame got before it had own pixels.
      std::vector<uint8_t> keyedRgba = Drawn(c.picture);
      const PictureLook oldLook = {keyed, 0x00102030, false};
      ASSERT_GE(PrepareTransparency(keyedRgba.data(), w, h, oldLook), 0);
      BitmapRecord old;
      ASSERT_TRUE(RgbaToRecord(keyedRgba.data(), w, h, &old));
      const bool own = keyed ? c.keyedOwn : c.opaqueOwn;
      ASSERT_EQ(record.bitsSize, own ? OwnPixelsRecordBytes(w, h) : old.bitsSize);
      EXPECT_EQ(std::memcmp(record.bits, old.bits, old.bitsSize), 0);
      EXPECT_EQ(std::memcmp(record.infoHeader + 24, old.infoHeader + 24, 16), 0);

      // Our players: blended over what lies beneath, pixel for pixel as the picture holds it.
      uint8_t info[kMaxPackedInfoSize];
      const uint32_t infoSize = PackBitmapInfo(record, info);
      EXPECT_EQ(FindOwnPixels(info, infoSize, record.bits, record.bitsSize) != nullptr, own);
      Surface* frame = LoadRecordSurface(nullptr, info, infoSize, record.bits, record.bitsSize, true);
      ASSERT_TRUE(frame);
      EXPECT_EQ(frame->ownAlpha != 0, own);
      if (own) {
        Surface* under = CreateSurface(nullptr, w + 2, h + 2);
        FillSurface(under, 0, 0, w + 2, h + 2, kUnder);
        BlendSurface(under, 1, 1, w, h, frame);
        const std::vector<uint8_t> rgba = Drawn(c.picture);
        for (int32_t y = 0; y < h; ++y)
          for (int32_t x = 0; x < w; ++x) {
            const uint32_t got = ReadSurfacePixel(under, x + 1, y + 1);
            const uint32_t want = Over(&rgba[(size_t(y) * w + x) * 4], kUnder);
            for (int channel = 0; channel < 3; ++channel)
              EXPECT_NEAR(int(got >> (8 * channel) & 0xFF), int(want >> (8 * channel) & 0xFF), 1)
                  << "at " << x << ", " << y;
          }
        EXPECT_EQ(ReadSurfacePixel(under, 0, 0), kUnder) << "nothing drawn outside the frame";
        ReleaseSurface(under);
      }
      ReleaseSurface(frame);
      ReleaseBitmapRecord(&old);
      ReleaseBitmapRecord(&record);
    }
  }
}

TEST(OwnAlpha, OnlyACharacterFrameOfTheRightShapeIsTakenForOne) {
  Built built = Build({"-e-", "e#e"}, PictureLook{true, 0, true});
  BitmapRecord& record = built.record;
  uint8_t info[kMaxPackedInfoSize];
  const uint32_t infoSize = PackBitmapInfo(record, info);
  ASSERT_TRUE(FindOwnPixels(info, infoSize, record.bits, record.bitsSize));
  // The wallpaper is drawn as its rows say, even from such a record.
  Surface* wallpaper = LoadRecordSurface(nullptr, info, infoSize, record.bits, record.bitsSize, false);
  ASSERT_TRUE(wallpaper);
  EXPECT_EQ(wallpaper->ownAlpha, 0);
  ReleaseSurface(wallpaper);
  // A mark out of place, or a size one byte off, is an ordinary record.
  record.bits[KeyedRowBytes(3, 2)] ^= 1;
  EXPECT_FALSE(FindOwnPixels(info, infoSize, record.bits, record.bitsSize));
  record.bits[KeyedRowBytes(3, 2)] ^= 1;
  EXPECT_FALSE(FindOwnPixels(info, infoSize, record.bits, record.bitsSize - 1));
  // The wallpaper's look never keeps them.
  Built wall = Build({"-e-", "e#e"}, PictureLook{false, 0, false});
  EXPECT_EQ(wall.record.bitsSize, KeyedRowBytes(3, 2));
  ReleaseBitmapRecord(&wall.record);
  ReleaseBitmapRecord(&record);
}

}  // namespace
