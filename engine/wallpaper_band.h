// The wallpaper reaches the background buffer in bands of whole rows, so that no player holds a
// picture of the wallpaper's own size: each band's share is drawn onto every monitor as the whole
// picture would have been, centred or stretched, and the buffer ends with the same pixels.
#pragma once
#include <cstdint>

#include "scene_model.h"

struct Surface;

// About this many bytes of pixels in a band (at least one row): small beside the screen buffers.
const uint32_t kWallpaperBandBytes = 1u << 20;

// How many rows of `rowBytes` each make a band of `budget` bytes (at least one).
inline int32_t WallpaperBandRows(uint64_t rowBytes, uint32_t budget) {
  const uint64_t rows = rowBytes ? budget / rowBytes : 1;
  return rows > 0 ? static_cast<int32_t>(rows < 0x7FFFFFFF ? rows : 0x7FFFFFFF) : 1;
}

// A record's stored rows handed out in bands, in the order they are stored (a bottom-up record's
// bottom band first): a record whose rows are not apart (run-length) is one band.
struct RecordBands {
  int32_t height;    // the picture's rows
  int32_t given;     // stored rows handed out so far
  int32_t bandRows;
  uint32_t rowBytes; // 0 for a record read whole
  bool bottomUp;
};

// For a record that passed DibRecordFits.
void StartRecordBands(RecordBands* bands, const uint8_t* header, uint32_t budget);
// The next band's rows (0 once all are given); *top is its first row's place in the picture.
int32_t NextRecordBand(RecordBands* bands, int32_t* top);

// Where a width x height wallpaper is drawn: onto each monitor as onto a single screen.
struct WallpaperPlacement {
  const SceneArea* monitors;
  int32_t monitorCount;
  int32_t width, height;
  bool stretch;
};

// Whether any monitor shows row `row` of the wallpaper (DrawWallpaperBand draws from it): a
// source may leave the other rows out of its bands.
bool WallpaperRowShown(const WallpaperPlacement& placement, int32_t row);

// Rows top .. top + band height - 1 of a width x height wallpaper onto `monitor` of buffer:
// centred at its natural size and cut at the monitor's edges, or stretched over it, each
// destination row taking the source row StretchSurface of the whole picture would give it.
void DrawWallpaperBand(Surface* buffer, const SceneArea& monitor, int32_t width, int32_t height, bool stretch,
                       const Surface* band, int32_t top);
