#include "picture_transparency.h"

#include <cstdlib>
#include <cstring>

#include "scanline_fill.h"

namespace {

enum Mark : uint8_t { kOpaque = 0, kTransparent = 1, kCornerArea = 2 };

const uint32_t kWhiteRgb = 0xFFFFFF;
const uint32_t kNearWhiteRgb = 0xFEFEFE;
// Magenta first: a key colour that pictures rarely use, and the one people expect.
const uint32_t kFirstKeyRgb = 0xFF00FF;
const uint32_t kColourCount = 1u << 24;

uint32_t RgbAt(const uint8_t* pixel) {
  return (static_cast<uint32_t>(pixel[0]) << 16) | (static_cast<uint32_t>(pixel[1]) << 8) | pixel[2];
}

void SetRgb(uint8_t* pixel, uint32_t rgb) {
  pixel[0] = static_cast<uint8_t>(rgb >> 16);
  pixel[1] = static_cast<uint8_t>(rgb >> 8);
  pixel[2] = static_cast<uint8_t>(rgb);
}

uint32_t RgbOfColourRef(uint32_t colour) {
  return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

// Marks as the corner area every transparent pixel connected to (0, 0) through horizontal and
// vertical neighbours, as the player's flood fill will reach it: a scanline fill, whose stack
// holds one seed per run of pixels rather than one per pixel.
bool MarkCornerArea(uint8_t* marks, int32_t width, int32_t height) {
  return ScanlineFill<uint8_t>(marks, width, height, 0, 0, kTransparent, kCornerArea);
}

// The player's transparency grows from the top-left pixel. A figure covering it gives up the
// pixels from there to the nearest transparent one along the top row or the left column: a few
// pixels, where the player would otherwise take the figure's whole area of the corner's colour.
void OpenCorner(uint8_t* marks, int32_t width, int32_t height) {
  int32_t across = 0, down = 0;
  while (across < width && marks[across] != kTransparent) ++across;
  while (down < height && marks[static_cast<size_t>(down) * static_cast<size_t>(width)] != kTransparent) ++down;
  const bool inRow = across < width, inColumn = down < height;
  if (!inRow && !inColumn) {
    marks[0] = kTransparent;
  } else if (inRow && (!inColumn || across <= down)) {
    std::memset(marks, kTransparent, static_cast<size_t>(across));
  } else {
    for (int32_t y = 0; y < down; ++y) marks[static_cast<size_t>(y) * static_cast<size_t>(width)] = kTransparent;
  }
}

bool TouchesCornerArea(const uint8_t* marks, int32_t width, int32_t height, int32_t x, int32_t y) {
  const uint8_t* at = marks + static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
  return (x > 0 && at[-1] == kCornerArea) || (x + 1 < width && at[1] == kCornerArea) ||
         (y > 0 && at[-width] == kCornerArea) || (y + 1 < height && at[width] == kCornerArea);
}

// Gives the corner area one colour that no other pixel has. Returns the notes, or -1.
int KeyCornerArea(uint8_t* rgba, const uint8_t* marks, size_t pixels) {
  // The other pixels take at most `pixels` colours, so one of the first pixels + 2 candidates
  // (white is passed over) is free: only that window of candidates needs marking, not all 2^24
  // colours, which a small sprite would otherwise pay 2 MiB for.
  const uint32_t window = pixels + 2 < kColourCount ? static_cast<uint32_t>(pixels + 2) : kColourCount;
  uint8_t* used = static_cast<uint8_t*>(std::calloc((window + 7) / 8, 1));
  if (!used) return -1;
  for (size_t i = 0; i < pixels; ++i) {
    if (marks[i] == kCornerArea) continue;
    uint32_t step = (RgbAt(rgba + 4 * i) - kFirstKeyRgb) & (kColourCount - 1);
    if (step < window) used[step >> 3] = static_cast<uint8_t>(used[step >> 3] | (1u << (step & 7)));
  }
  uint32_t key = kFirstKeyRgb;
  bool free = false;
  for (uint32_t step = 0; step < window && !free; ++step) {
    uint32_t candidate = (kFirstKeyRgb + step) & (kColourCount - 1);
    if (candidate == kWhiteRgb) continue;
    free = !(used[step >> 3] & (1u << (step & 7)));
    if (free) key = candidate;
  }
  std::free(used);

  int notes = 0;
  for (size_t i = 0; i < pixels; ++i) {
    uint8_t* pixel = rgba + 4 * i;
    if (marks[i] == kCornerArea) {
      SetRgb(pixel, key);
    } else if (!free && RgbAt(pixel) == key) {
      // Every colour is in use: the figure's pixels of the key colour move by one step of red.
      SetRgb(pixel, key ^ 0x010000);
      notes = kLookKeyColourShifted;
    }
  }
  return notes;
}

}  // namespace

int PrepareTransparency(uint8_t* rgba, int32_t width, int32_t height, const PictureLook& look) {
  const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
  const uint32_t background = RgbOfColourRef(look.backgroundColour);
  bool anyTransparent = false;
  for (size_t i = 0; i < pixels && !anyTransparent; ++i) anyTransparent = rgba[4 * i + 3] < 128;
  if (!anyTransparent) return 0;
  if (!look.transparentSprites) {
    PrepareOpaquePixels(rgba, pixels, look);
    return 0;
  }

  uint8_t* marks = static_cast<uint8_t*>(std::malloc(pixels));
  if (!marks) return -1;
  for (size_t i = 0; i < pixels; ++i) marks[i] = rgba[4 * i + 3] < 128 ? kTransparent : kOpaque;
  int notes = 0;
  if (marks[0] == kOpaque) {
    OpenCorner(marks, width, height);
    notes |= kLookCornerCovered;
  }
  if (!MarkCornerArea(marks, width, height)) {
    std::free(marks);
    return -1;
  }

  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const size_t i = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
      uint8_t* pixel = rgba + 4 * i;
      if (marks[i] == kTransparent) {
        // Not reachable from the corner: the player cannot see through it.
        SetRgb(pixel, background);
        marks[i] = kOpaque;
        notes |= kLookEnclosedTransparency;
      } else if (marks[i] == kOpaque && RgbAt(pixel) == kWhiteRgb && TouchesCornerArea(marks, width, height, x, y)) {
        // The player paints the corner area white before it fills it; white touching it would join.
        SetRgb(pixel, kNearWhiteRgb);
      }
    }
  }
  int keyed = KeyCornerArea(rgba, marks, pixels);
  std::free(marks);
  return keyed < 0 ? -1 : notes | keyed;
}

void PrepareOpaquePixels(uint8_t* rgba, size_t pixels, const PictureLook& look) {
  // Most pictures have no transparent pixel at all: a look at every alpha first, many at a time.
  uint8_t transparent = 0;
  for (size_t i = 0; i < pixels; ++i) transparent |= rgba[4 * i + 3] < 128;
  if (!transparent) return;
  const uint32_t background = RgbOfColourRef(look.backgroundColour);
  for (size_t i = 0; i < pixels; ++i)
    if (rgba[4 * i + 3] < 128) SetRgb(rgba + 4 * i, background);
}

OwnTransparency SummariseAlpha(const uint8_t* rgba, size_t pixels) {
  OwnTransparency alpha = kNoOwnTransparency;
  for (size_t i = 0; i < pixels; ++i) {
    const uint8_t a = rgba[4 * i + 3];
    if (a != 0 && a != 255) return kSoftTransparency;
    if (a == 0) alpha = kBinaryTransparency;
  }
  return alpha;
}

bool KeepsOwnPixels(OwnTransparency alpha, const PictureLook& look, int notes) {
  if (!look.ownAlpha || alpha == kNoOwnTransparency) return false;
  return alpha == kSoftTransparency || !look.transparentSprites ||
         (notes & (kLookCornerCovered | kLookEnclosedTransparency)) != 0;
}

const char* PictureLookNoteText(int note) {
  switch (note) {
    case kLookCornerCovered:
      return "the figure covers the top-left pixel, where the player's transparency starts; the pixels from there "
             "to the nearest transparent one along the top row or left column are drawn transparent";
    case kLookEnclosedTransparency:
      return "transparent pixels enclosed by the figure cannot be transparent in the player; they are drawn in the "
             "background colour";
    case kLookKeyColourShifted:
      return "the frame uses every colour; its pixels of the transparency key colour are drawn one step of red "
             "darker";
    default:
      return "";
  }
}
