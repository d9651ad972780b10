// The largest wallpaper a saver carries, and how a larger one is brought within it once, when
// the scene is walked, so that no player ever decodes or keeps more than a screen of that size
// needs.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct BitmapRecord;

const int32_t kMaxWallpaperWidth = 7680;
const int32_t kMaxWallpaperHeight = 4320;

enum WallpaperFit {
  WallpaperFits,      // within the limit already: the record is as it was
  WallpaperScaled,    // stretched over the screen: each axis that was too long is scaled down
  WallpaperCut,       // shown at natural size: its middle is kept, all a screen up to the limit shows
  WallpaperUnfitted,  // too large, but its pixels could not be had: the record is as it was
};

// The size a w x h wallpaper is brought to (the same as FitWallpaper gives) and how.
WallpaperFit FittedWallpaperSize(int32_t w, int32_t h, bool stretched, int32_t* width, int32_t* height);

// The scale of ScaleDownPixels a row at a time: the old rows are fetched one at a time, in order,
// each once, and each new row is handed on as it is done, so that neither picture is held whole.
class RowScaler {
 public:
  RowScaler(int32_t w, int32_t h, int32_t nw, int32_t nh);
  // The next new row (nw pixels, valid until the next call); fetch(y) gives old row y, valid
  // until the next fetch. Null once every new row was given, or when an old row cannot be had
  // (fetch answered null).
  template <typename Fetch>
  const uint32_t* Next(Fetch fetch);
  // Instead of Next, for a new row nobody looks at: of the old rows under it only the last is
  // fetched, and only where the next new row covers it too. False as Next's null.
  template <typename Fetch>
  bool Skip(Fetch fetch);

  // For each new column (or row) of a scale from n old ones to m new ones: the old ones it covers
  // and the weight of each (see wallpaper_fit.cpp).
  struct Span {
    int32_t first, last;  // old pixels first..last
    int32_t firstWeight, lastWeight, middleWeight;
  };

 private:
  void Keep(const uint32_t* row);
  void AddKept(float weight);
  const uint32_t* Finish();

  int32_t w_, h_, nw_, nh_;
  std::vector<Span> columns_, rows_;
  // Down first, then across. The last old row fetched, and the weighted sums down of the old
  // rows under the new row, red, green and blue planes of w each: whole numbers up to 255 h
  // (under 2^22), which floats hold, add and scale exactly, four or more at a time.
  std::vector<float> kept_, down_;
  std::vector<uint32_t> done_;
  int32_t y_ = 0, fetched_ = -1;
};

template <typename Fetch>
const uint32_t* RowScaler::Next(Fetch fetch) {
  if (y_ >= nh_) return nullptr;
  const Span& rs = rows_[static_cast<size_t>(y_)];
  for (float& sum : down_) sum = 0;
  for (int32_t oy = rs.first; oy <= rs.last; ++oy) {
    // An old row cut by the edge between two new rows counts in both: it is kept.
    if (oy > fetched_) {
      const uint32_t* row = fetch(oy);
      if (!row) return nullptr;
      fetched_ = oy;
      Keep(row);
    }
    AddKept(static_cast<float>(oy == rs.first ? rs.firstWeight : oy == rs.last ? rs.lastWeight : rs.middleWeight));
  }
  return Finish();
}

template <typename Fetch>
bool RowScaler::Skip(Fetch fetch) {
  if (y_ >= nh_) return false;
  const Span& rs = rows_[static_cast<size_t>(y_++)];
  if (y_ < nh_ && rows_[static_cast<size_t>(y_)].first == rs.last && rs.last > fetched_) {
    const uint32_t* row = fetch(rs.last);
    if (!row) return false;
    fetched_ = rs.last;
    Keep(row);
  }
  return true;
}

// Brings the record within the limit, as a 24-bit record. A stretched wallpaper's new pixel is
// the average of the old pixels it covers, so a screen of any size up to the limit shows what it
// showed; a centred one keeps the middle whose parity matches the old size on each axis, so every
// screen pixel up to the limit shows the very pixel it showed. *width and *height: the new size.
WallpaperFit FitWallpaper(BitmapRecord* record, bool stretched, int32_t* width, int32_t* height);

// The box-filtered scale of a w x h picture of 0x00BBGGRR pixels (top row first) to nw x nh (each
// no larger): every new pixel is the rounded average of the old area it covers, old pixels cut
// by the new pixel's edges counting in part.
void ScaleDownPixels(const uint32_t* pixels, int32_t w, int32_t h, uint32_t* out, int32_t nw, int32_t nh);
