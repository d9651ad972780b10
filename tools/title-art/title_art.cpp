#include "title_art.h"

#include <cstring>

namespace {

enum Colour : uint8_t {
  Night0, Night1, Night2, Night3, Night4, Star, Moon, MoonShade,
  Shadow, Letter, LetterEdge, Pink, Green, Orange, Hill, HillDark
};

const uint32_t kPalette[16] = {
    0x00401008, 0x00501810, 0x00602418, 0x00703020, 0x00803C28, 0x00FFFFFF, 0x0060E8F8, 0x0040B8D0,
    0x00200808, 0x00F8F0E8, 0x00E0A060, 0x00C060F0, 0x0060D080, 0x0030A0F0, 0x00304818, 0x00203010};

struct Glyph {
  char letter;
  const char* rows[7];
};

// A 5 x 7 pixel font, just the letters the picture needs.
const Glyph kGlyphs[] = {
    {'M', {"10001", "11011", "10101", "10101", "10001", "10001", "10001"}},
    {'o', {"00000", "00000", "01110", "10001", "10001", "10001", "01110"}},
    {'r', {"00000", "00000", "10110", "11001", "10000", "10000", "10000"}},
    {'v', {"00000", "00000", "10001", "10001", "10001", "01010", "00100"}},
    {'a', {"00000", "00000", "01110", "00001", "01111", "10001", "01111"}},
    {'n', {"00000", "00000", "10110", "11001", "10001", "10001", "10001"}},
    {'e', {"00000", "00000", "01110", "10001", "11111", "10000", "01110"}},
    {'S', {"01111", "10000", "10000", "01110", "00001", "00001", "11110"}},
    {'C', {"01110", "10001", "10000", "10000", "10000", "10001", "01110"}},
    {'R', {"11110", "10001", "10001", "11110", "10100", "10010", "10001"}},
    {'E', {"11111", "10000", "10000", "11110", "10000", "10000", "11111"}},
    {'N', {"10001", "11001", "10101", "10011", "10001", "10001", "10001"}},
    {'A', {"01110", "10001", "10001", "11111", "10001", "10001", "10001"}},
    {'V', {"10001", "10001", "10001", "10001", "10001", "01010", "00100"}},
    {'D', {"11110", "10001", "10001", "10001", "10001", "10001", "11110"}},
    {'I', {"01110", "00100", "00100", "00100", "00100", "00100", "01110"}},
    {'G', {"01110", "10001", "10000", "10111", "10001", "10001", "01111"}},
};

class Canvas {
 public:
  explicit Canvas(TitlePicture* picture) : p_(picture) {}

  void Set(int32_t x, int32_t y, uint8_t colour) {
    if (x >= 0 && y >= 0 && x < kTitleWidth && y < kTitleHeight) p_->indexes[size_t(y) * kTitleWidth + x] = colour;
  }

  void Block(int32_t left, int32_t top, int32_t size, uint8_t colour) {
    for (int32_t y = top; y < top + size; ++y)
      for (int32_t x = left; x < left + size; ++x) Set(x, y, colour);
  }

  void Disc(int32_t cx, int32_t cy, int32_t r, uint8_t colour) {
    for (int32_t y = cy - r; y <= cy + r; ++y)
      for (int32_t x = cx - r; x <= cx + r; ++x)
        if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r) Set(x, y, colour);
  }

  // The text left-aligned at (left, top), each font pixel a square of `scale` pixels.
  void Text(const char* text, int32_t left, int32_t top, int32_t scale, uint8_t colour) {
    for (; *text; ++text, left += 6 * scale) {
      const Glyph* glyph = Find(*text);
      if (!glyph) continue;
      for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 5; ++col)
          if (glyph->rows[row][col] == '1') Block(left + col * scale, top + row * scale, scale, colour);
    }
  }

  static int32_t TextWidth(const char* text, int32_t scale) {
    return static_cast<int32_t>(std::strlen(text)) * 6 * scale - scale;
  }

 private:
  static const Glyph* Find(char letter) {
    for (const Glyph& g : kGlyphs)
      if (g.letter == letter) return &g;
    return nullptr;
  }

  TitlePicture* p_;
};

}  // namespace

TitlePicture DrawTitlePicture() {
  TitlePicture picture;
  std::memcpy(picture.palette, kPalette, sizeof kPalette);
  picture.indexes.assign(size_t(kTitleWidth) * kTitleHeight, Night0);
  Canvas canvas(&picture);

  // Sky in bands, lighter towards the horizon.
  for (int32_t y = 0; y < kTitleHeight; ++y)
    for (int32_t x = 0; x < kTitleWidth; ++x) canvas.Set(x, y, static_cast<uint8_t>(Night0 + (y * 5) / 200 % 5));

  // Stars from a fixed sequence, so that every build draws the same sky.
  uint32_t state = 20260101;
  for (int i = 0; i < 60; ++i) {
    state = state * 214013 + 2531011;
    int32_t x = static_cast<int32_t>((state >> 16) % kTitleWidth);
    state = state * 214013 + 2531011;
    int32_t y = static_cast<int32_t>((state >> 16) % 180);
    canvas.Set(x, y, Star);
  }

  canvas.Disc(250, 40, 22, Moon);
  canvas.Disc(258, 34, 18, Night1);  // the dark part of a crescent

  // Hills along the bottom.
  for (int32_t x = 0; x < kTitleWidth; ++x) {
    int32_t rise = (x % 100 < 50 ? x % 100 : 100 - x % 100) / 3;
    for (int32_t y = 215 - rise; y < kTitleHeight; ++y) canvas.Set(x, y, y > 235 ? HillDark : Hill);
  }

  // Three sprites, as a scene would show them.
  canvas.Disc(60, 196, 12, Pink);
  canvas.Disc(56, 192, 3, Star);
  canvas.Disc(150, 206, 9, Green);
  canvas.Disc(147, 203, 2, Star);
  canvas.Disc(236, 190, 14, Orange);
  canvas.Disc(231, 185, 3, Star);

  const char* name = "Morvane";
  const int32_t nameScale = 6;
  int32_t left = (kTitleWidth - Canvas::TextWidth(name, nameScale)) / 2;
  canvas.Text(name, left + 3, 78 + 3, nameScale, Shadow);
  canvas.Text(name, left, 78, nameScale, Letter);

  const char* subtitle = "SCREEN SAVER DESIGNER";
  const int32_t subtitleScale = 2;
  canvas.Text(subtitle, (kTitleWidth - Canvas::TextWidth(subtitle, subtitleScale)) / 2, 140, subtitleScale,
              LetterEdge);
  return picture;
}
