#include "icon_art.h"

#include <algorithm>
#include <cmath>

namespace {

struct Colour {
  double r, g, b;
};

Colour Mix(Colour a, Colour b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

const Colour kSkyTop = {16, 24, 88}, kSkyBottom = {72, 40, 128}, kRim = {8, 8, 40};
const Colour kMoon = {250, 224, 96}, kStar = {255, 255, 240}, kSprite = {240, 96, 192}, kTrail = {200, 96, 200};

double Square(double v) { return v * v; }

bool InDisc(double x, double y, double cx, double cy, double r) { return Square(x - cx) + Square(y - cy) <= r * r; }

// The tile: a square with rounded corners, in unit coordinates.
bool InTile(double x, double y, double inset) {
  const double lo = 0.03 + inset, hi = 0.97 - inset, radius = 0.2 - inset;
  if (x < lo || y < lo || x > hi || y > hi) return false;
  const double cx = std::min(std::max(x, lo + radius), hi - radius), cy = std::min(std::max(y, lo + radius), hi - radius);
  return InDisc(x, y, cx, cy, radius);
}

// One sample of the picture at (x, y) in unit coordinates; false outside the tile. Small
// pictures get bigger stars, so that a star stays at least a pixel wide.
bool Sample(double x, double y, double pixel, Colour* colour) {
  if (!InTile(x, y, 0)) return false;
  *colour = InTile(x, y, std::max(0.025, pixel)) ? Mix(kSkyTop, kSkyBottom, y) : kRim;
  const double star = std::max(0.03, 0.6 * pixel);
  if (InDisc(x, y, 0.22, 0.24, star) || InDisc(x, y, 0.40, 0.14, star * 0.8) || InDisc(x, y, 0.82, 0.70, star * 0.8))
    *colour = kStar;
  if (InDisc(x, y, 0.62, 0.38, 0.25) && !InDisc(x, y, 0.73, 0.29, 0.21)) *colour = kMoon;
  // The sprite and the trail it leaves, which the smallest pictures do without.
  if (pixel < 0.05) {
    if (InDisc(x, y, 0.50, 0.78, 0.05) || InDisc(x, y, 0.62, 0.72, 0.035)) *colour = kTrail;
  }
  if (InDisc(x, y, 0.32, 0.76, pixel < 0.05 ? 0.13 : 0.15)) *colour = kSprite;
  if (InDisc(x, y, 0.28, 0.72, pixel < 0.05 ? 0.04 : 0.05)) *colour = {255, 200, 240};
  return true;
}

}  // namespace

std::vector<uint32_t> SixteenIconColours() {
  const auto pack = [](Colour c) {
    return uint32_t(std::lround(c.r)) << 16 | uint32_t(std::lround(c.g)) << 8 | uint32_t(std::lround(c.b));
  };
  std::vector<uint32_t> colours = {0, pack(kRim), pack(kMoon), pack(kStar), pack(kSprite), pack(kTrail), pack({255, 200, 240})};
  for (double t : {0.0, 0.25, 0.5, 0.75, 1.0}) colours.push_back(pack(Mix(kSkyTop, kSkyBottom, t)));
  for (Colour c : {kMoon, kSprite}) colours.push_back(pack(Mix(c, Mix(kSkyTop, kSkyBottom, 0.5), 0.5)));
  colours.push_back(pack(Mix(kRim, kSkyTop, 0.5)));
  colours.push_back(pack(Mix(kStar, kSkyTop, 0.5)));
  return colours;
}

IconPicture DrawIcon(int size) {
  IconPicture picture = {size, std::vector<uint32_t>(size_t(size) * size, 0)};
  const int grid = size <= 48 ? 8 : 3;  // samples across each pixel
  const double pixel = 1.0 / size;
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      double r = 0, g = 0, b = 0;
      int covered = 0;
      for (int sy = 0; sy < grid; ++sy) {
        for (int sx = 0; sx < grid; ++sx) {
          Colour c;
          if (!Sample((px + (sx + 0.5) / grid) * pixel, (py + (sy + 0.5) / grid) * pixel, pixel, &c)) continue;
          r += c.r, g += c.g, b += c.b;
          ++covered;
        }
      }
      if (covered == 0) continue;
      const auto channel = [covered](double sum) { return static_cast<uint32_t>(std::lround(sum / covered)); };
      const uint32_t alpha = static_cast<uint32_t>(std::lround(255.0 * covered / (grid * grid)));
      picture.pixels[size_t(py) * size + px] = alpha << 24 | channel(r) << 16 | channel(g) << 8 | channel(b);
    }
  }
  return picture;
}
