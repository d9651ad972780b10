// Transparency as the player will show it: each picture goes through the builder's conversion
// into a record, then through the engine's own mask preparation on the pixel-buffer surfaces;
// the mask must be transparent exactly where the picture's alpha is below 128, wherever the
// player's model allows, and otherwise what the notes say.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine.h"
#include "picture_intake.h"
#include "picture_record.h"
#include "picture_test_support.h"
#include "picture_transparency.h"
#include "surface.h"

namespace {

// A picture in letters: '-' transparent (with a hidden colour that must not matter), '.'
// white, '#' black, 'r' red, 'g' green, 'm' magenta (the first key colour tried).
std::vector<uint8_t> Drawn(const std::vector<std::string>& rows) {
  std::vector<uint8_t> rgba;
  for (const std::string& row : rows)
    for (char c : row) {
      switch (c) {
        case '-': rgba.insert(rgba.end(), {12, 34, 56, 0}); break;
        case '.': rgba.insert(rgba.end(), {255, 255, 255, 255}); break;
        case '#': rgba.insert(rgba.end(), {0, 0, 0, 255}); break;
        case 'r': rgba.insert(rgba.end(), {255, 0, 0, 200}); break;
        case 'g': rgba.insert(rgba.end(), {0, 255, 0, 255}); break;
        case 'm': rgba.insert(rgba.end(), {255, 0, 255, 255}); break;
      }
    }
  return rgba;
}

struct Played {
  std::vector<std::string> mask;  // 'T' where the player draws nothing of the frame, 'o' elsewhere
  std::vector<uint32_t> colours;  // the record's colours, 0x00BBGGRR, top row first
  int notes;
};

// The RGBA pixels through the builder's conversion and the engine's mask preparation.
Played Play(std::vector<uint8_t> rgba, int32_t width, int32_t height, const PictureLook& look) {
  Played played;
  played.notes = PrepareTransparency(rgba.data(), width, height, look);
  BitmapRecord record;
  EXPECT_TRUE(RgbaToRecord(rgba.data(), width, height, &record));
  FrameSurface frame = {};
  frame.sprite = LoadDibSurface(nullptr, record.infoHeader, 40, record.bits, record.bitsSize);
  frame.width = width;
  frame.height = height;
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) played.colours.push_back(ReadSurfacePixel(frame.sprite, x, y));
  ReleaseBitmapRecord(&record);
  if (look.transparentSprites) {
    PrepareFrameMask(&frame, nullptr);
    for (int32_t y = 0; y < height; ++y) {
      std::string row;
      for (int32_t x = 0; x < width; ++x) row += ReadSurfacePixel(frame.mask, x, y) == kWhite ? 'T' : 'o';
      played.mask.push_back(row);
    }
  }
  ReleaseSurface(frame.sprite);
  ReleaseSurface(frame.mask);
  return played;
}

Played PlayDrawn(const std::vector<std::string>& rows, const PictureLook& look) {
  return Play(Drawn(rows), int32_t(rows[0].size()), int32_t(rows.size()), look);
}

// 'T' where alpha is below 128.
std::vector<std::string> AlphaMask(const std::vector<uint8_t>& rgba, int32_t width, int32_t height) {
  std::vector<std::string> mask;
  for (int32_t y = 0; y < height; ++y) {
    std::string row;
    for (int32_t x = 0; x < width; ++x) row += rgba[(size_t(y) * width + x) * 4 + 3] < 128 ? 'T' : 'o';
    mask.push_back(row);
  }
  return mask;
}

const PictureLook kKeyed = {true, 0x00302010, false};

struct KeyCase {
  const char* name;
  std::vector<std::string> picture;
  std::vector<std::string> mask;
  int notes;
};

TEST(PictureTransparency, ThePlayersMaskIsTheTransparentAreaWhereverTheModelAllows) {
  const KeyCase cases[] = {
      {"white figure touching the transparent area, magenta inside it",
       {"------", "-..m.-", "-.##.-", "------"},
       {"TTTTTT", "TooooT", "TooooT", "TTTTTT"}, 0},
      {"transparency reaching round to a diagonal only",
       {"--#", "-#-", "#--"},
       {"TTo", "Too", "ooo"}, kLookEnclosedTransparency},
      {"a ring: its hole cannot be transparent",
       {"-----", "-###-", "-#-#-", "-###-", "-----"},
       {"TTTTT", "ToooT", "ToooT", "ToooT", "TTTTT"}, kLookEnclosedTransparency},
      {"figure over the corner, nearest transparency down the left column",
       {"##.-", "#..-", "----"},
       {"TooT", "TooT", "TTTT"}, kLookCornerCovered},
      {"figure over the corner, nearest transparency along the top row",
       {"#-#", "###", "###", "##-"},
       {"TTo", "ooo", "ooo", "ooo"}, kLookCornerCovered | kLookEnclosedTransparency},
      {"semi-transparent red above 128 is opaque", {"-r-", "---"}, {"ToT", "TTT"}, 0},
  };
  for (const KeyCase& c : cases) {
    Played played = PlayDrawn(c.picture, kKeyed);
    EXPECT_EQ(played.mask, c.mask) << c.name;
    EXPECT_EQ(played.notes, c.notes) << c.name;
  }
}

TEST(PictureTransparency, HoleColoursAndFigureColoursAreKept) {
  // The ring's hole shows the background colour; white beside the transparent area becomes
  // 254, 254, 254, the figure's magenta stays magenta.
  Played ring = PlayDrawn({"-----", "-#.#-", "-#-#-", "-#m#-", "-----"}, kKeyed);
  EXPECT_EQ(ring.colours[2 * 5 + 2], 0x00302010u);
  EXPECT_EQ(ring.colours[1 * 5 + 2], 0x00FEFEFEu);
  EXPECT_EQ(ring.colours[3 * 5 + 2], 0x00FF00FFu);
}

TEST(PictureTransparency, OpaquePicturesAreLeftToThePlayersCornerRule) {
  // No transparent pixel: the picture is untouched, and the player treats it as a bitmap.
  Played played = PlayDrawn({"gg.", "g#g", "ggg"}, kKeyed);
  EXPECT_EQ(played.notes, 0);
  EXPECT_EQ(played.colours[2], 0x00FFFFFFu);
  EXPECT_EQ(played.mask, (std::vector<std::string>{"TTT", "ToT", "TTT"})) << "white joins the corner area";
}

TEST(PictureTransparency, WithoutTransparentSpritesTransparentPixelsTakeTheBackgroundColour) {
  Played played = PlayDrawn({"-#", "#-"}, PictureLook{false, 0x00112233, false});
  EXPECT_EQ(played.notes, 0);
  EXPECT_EQ(played.colours, (std::vector<uint32_t>{0x00112233, 0, 0, 0x00112233}));
}

TEST(PictureTransparency, AFrameUsingEveryColourStillGetsAKey) {
  // Two transparent pixels in the corner, and opaque pixels holding each of the 2^24 colours:
  // no colour is free, so the figure's pixel of the first key colour gives it up.
  const int32_t width = 4096, height = 4097;
  const uint32_t colours = 1u << 24;
  std::vector<uint8_t> rgba(size_t(width) * height * 4, 0);
  for (uint32_t i = 0; i < uint32_t(width) * height; ++i) {
    uint32_t colour = i >= 2 && i < colours + 2 ? i - 2 : 0;
    rgba[4 * i] = uint8_t(colour >> 16);
    rgba[4 * i + 1] = uint8_t(colour >> 8);
    rgba[4 * i + 2] = uint8_t(colour);
    rgba[4 * i + 3] = i < 2 ? 0 : 255;
  }
  EXPECT_EQ(PrepareTransparency(rgba.data(), width, height, kKeyed), kLookKeyColourShifted);
  auto rgbAt = [&rgba](size_t i) { return (uint32_t(rgba[4 * i]) << 16) | (uint32_t(rgba[4 * i + 1]) << 8) | rgba[4 * i + 2]; };
  EXPECT_EQ(rgbAt(0), 0xFF00FFu);
  EXPECT_EQ(rgbAt(1), 0xFF00FFu);
  EXPECT_EQ(rgbAt(0xFF00FF + 2), 0xFE00FFu) << "the figure's magenta moved aside";
  size_t keyed = 0;
  for (size_t i = 0; i < size_t(width) * height; ++i) keyed += rgbAt(i) == 0xFF00FFu;
  EXPECT_EQ(keyed, 2u);
}

// The fixtures that are drawn on a transparent background play exactly as drawn, every GIF frame
// included; those that cannot say why.
TEST(PictureTransparency, FixturesPlayTransparentWhereTheyAreTransparent) {
  const struct {
    const char* file;
    int notes;
  } cases[] = {{"sprite-alpha.png", 0},   {"palette-trns.png", 0},
               {"rgb-trns.png", 0},        {"still.gif", 0},
               {"animated.gif", 0},        {"wrapped-png.bmp", 0},
               {"ring-alpha.png", kLookEnclosedTransparency}, {"corner-figure.png", kLookCornerCovered}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    DecodedPicture picture = DecodeWithLibraries(FixtureBytes(c.file));
    ASSERT_TRUE(picture.ok) << picture.why;
    EXPECT_FALSE(picture.frames.empty());
    for (size_t f = 0; f < picture.frames.size(); ++f) {
      const std::vector<uint8_t>& rgba = picture.frames[f];
      Played played = Play(rgba, picture.width, picture.height, kKeyed);
      EXPECT_EQ(played.notes, c.notes) << "frame " << f + 1;
      if (c.notes == 0) {
        EXPECT_EQ(played.mask, AlphaMask(rgba, picture.width, picture.height)) << "frame " << f + 1;
      }
    }
  }
}

}  // namespace
