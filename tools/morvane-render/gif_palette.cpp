#include "gif_palette.h"

#include <algorithm>

namespace {

const uint32_t kBins = 32768;

}  // namespace

struct GifPalette::Box {
  int low[3], high[3];  // inclusive bin coordinates per channel
  uint64_t count;
};

GifPalette::GifPalette()
    : binCount_(kBins), binRed_(kBins), binGreen_(kBins), binBlue_(kBins), binIndex_(kBins) {}

uint32_t GifPalette::Bin(uint32_t colour) {
  const uint32_t red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
  return ((red >> 3) << 10) | ((green >> 3) << 5) | (blue >> 3);
}

void GifPalette::Count(const uint32_t* pixels, size_t count) {
  uint32_t last = 0xFFFFFFFF;
  for (size_t i = 0; i < count; ++i) {
    const uint32_t colour = pixels[i] & 0xFFFFFF;
    const uint32_t bin = Bin(colour);
    ++binCount_[bin];
    binRed_[bin] += colour & 0xFF;
    binGreen_[bin] += (colour >> 8) & 0xFF;
    binBlue_[bin] += (colour >> 16) & 0xFF;
    if (!exact_ || colour == last) continue;
    last = colour;
    auto at = std::lower_bound(exactColours_.begin(), exactColours_.end(), colour);
    if (at != exactColours_.end() && *at == colour) continue;
    if (exactColours_.size() == static_cast<size_t>(kGifColours)) {
      exact_ = false;
      exactColours_.clear();
      continue;
    }
    exactColours_.insert(at, colour);
  }
}

// Cuts the most populous box that can still be cut, across its longest side, where half of
// its pixels lie on either side. Ties go to the earlier box and the lower channel.
void GifPalette::Split(std::vector<Box>* boxes) const {
  int chosen = -1;
  for (size_t i = 0; i < boxes->size(); ++i) {
    const Box& b = (*boxes)[i];
    bool cuttable = b.low[0] < b.high[0] || b.low[1] < b.high[1] || b.low[2] < b.high[2];
    if (cuttable && (chosen < 0 || b.count > (*boxes)[chosen].count)) chosen = static_cast<int>(i);
  }
  if (chosen < 0) return;
  Box box = (*boxes)[chosen];
  int axis = 0;
  for (int a = 1; a < 3; ++a)
    if (box.high[a] - box.low[a] > box.high[axis] - box.low[axis]) axis = a;
  // Pixels per slice along the axis.
  uint64_t slices[32] = {};
  for (int r = box.low[0]; r <= box.high[0]; ++r)
    for (int g = box.low[1]; g <= box.high[1]; ++g)
      for (int b = box.low[2]; b <= box.high[2]; ++b) {
        const int at[3] = {r, g, b};
        slices[at[axis]] += binCount_[(r << 10) | (g << 5) | b];
      }
  uint64_t below = 0;
  int cut = box.low[axis];
  for (int s = box.low[axis]; s < box.high[axis]; ++s) {
    below += slices[s];
    cut = s;
    if (below * 2 >= box.count) break;
  }
  Box upper = box;
  box.high[axis] = cut;
  upper.low[axis] = cut + 1;
  box.count = below;
  upper.count = (*boxes)[chosen].count - below;
  (*boxes)[chosen] = box;
  boxes->push_back(upper);
}

void GifPalette::Choose() {
  colours_.clear();
  if (exact_) {
    colours_ = exactColours_;
    return;
  }
  uint64_t total = 0;
  for (uint64_t c : binCount_) total += c;
  std::vector<Box> boxes(1, Box{{0, 0, 0}, {31, 31, 31}, total});
  while (boxes.size() < static_cast<size_t>(kGifColours)) {
    const size_t before = boxes.size();
    Split(&boxes);
    if (boxes.size() == before) break;
  }
  for (size_t i = 0; i < boxes.size(); ++i) {
    const Box& b = boxes[i];
    uint64_t count = 0, red = 0, green = 0, blue = 0;
    for (int r = b.low[0]; r <= b.high[0]; ++r)
      for (int g = b.low[1]; g <= b.high[1]; ++g)
        for (int bl = b.low[2]; bl <= b.high[2]; ++bl) {
          const uint32_t bin = (r << 10) | (g << 5) | bl;
          count += binCount_[bin];
          red += binRed_[bin];
          green += binGreen_[bin];
          blue += binBlue_[bin];
          binIndex_[bin] = static_cast<uint8_t>(i);
        }
    if (count == 0) count = 1;
    colours_.push_back(static_cast<uint32_t>((red + count / 2) / count) |
                       (static_cast<uint32_t>((green + count / 2) / count) << 8) |
                       (static_cast<uint32_t>((blue + count / 2) / count) << 16));
  }
}

uint8_t GifPalette::IndexOf(uint32_t colour) const {
  colour &= 0xFFFFFF;
  if (exact_) {
    auto at = std::lower_bound(colours_.begin(), colours_.end(), colour);
    return static_cast<uint8_t>(at - colours_.begin());
  }
  return binIndex_[Bin(colour)];
}
