// The largest wallpaper a saver carries, and how a larger one is brought within it once, when
// the scene is walked, so that no player ever decodes or keeps more than a screen of that size
// needs.
#pragma once
#include <cstdint>

struct BitmapRecord;

const int32_t kMaxWallpaperWidth = 7680;
const int32_t kMaxWallpaperHeight = 4320;

enum WallpaperFit {
  WallpaperFits,      // within the limit already: the record is as it was
  WallpaperScaled,    // stretched over the screen: each axis that was too long is scaled down
  WallpaperCut,       // shown at natural size: its middle is kept, all a screen up to the limit shows
  WallpaperUnfitted,  // too large, but its pixels could not be had: the record is as it was
};

// Brings the record within the limit, as a 24-bit record. A stretched wallpaper's new pixel is
// the average of the old pixels it covers, so a screen of any size up to the limit shows what it
// showed; a centred one keeps the middle whose parity matches the old size on each axis, so every
// screen pixel up to the limit shows the very pixel it showed. *width and *height: the new size.
WallpaperFit FitWallpaper(BitmapRecord* record, bool stretched, int32_t* width, int32_t* height);

// The box-filtered scale of a w x h picture of 0x00BBGGRR pixels (top row first) to nw x nh (each
// no larger): every new pixel is the rounded average of the old area it covers, old pixels cut
// by the new pixel's edges counting in part.
void ScaleDownPixels(const uint32_t* pixels, int32_t w, int32_t h, uint32_t* out, int32_t nw, int32_t nh);
