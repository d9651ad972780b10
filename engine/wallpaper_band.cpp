#include "wallpaper_band.h"

#include "byte_order.h"
#include "dib_record.h"
#include "own_pixels_blend.h"
#include "surface.h"

namespace {

// The part of a w x h wallpaper at its natural size in the middle of the monitor that shows, cut
// at the monitor's edges so that a large one does not spill onto its neighbours: from source
// column sx and row sy, at (left, top) of the buffer. Nothing shows when width or rows is 0.
struct CentredPart {
  int32_t left, top, sx, sy, width, rows;
};

CentredPart CentredOn(const SceneArea& monitor, int32_t w, int32_t h) {
  CentredPart part = {monitor.left + (monitor.width - w) / 2, monitor.top + (monitor.height - h) / 2, 0, 0, 0, 0};
  int32_t right = part.left + w, bottom = part.top + h;
  if (part.left < monitor.left) part.sx = monitor.left - part.left, part.left = monitor.left;
  if (part.top < monitor.top) part.sy = monitor.top - part.top, part.top = monitor.top;
  if (right > monitor.left + monitor.width) right = monitor.left + monitor.width;
  if (bottom > monitor.top + monitor.height) bottom = monitor.top + monitor.height;
  if (right > part.left && bottom > part.top) part.width = right - part.left, part.rows = bottom - part.top;
  return part;
}

// Of the centred wallpaper, the rows the band holds.
void CentreBand(Surface* buffer, const SceneArea& monitor, int32_t w, int32_t h, const Surface* band,
                int32_t bandTop) {
  const CentredPart part = CentredOn(monitor, w, h);
  // Source rows sy .. sy + rows - 1 show; the band holds bandTop .. bandEnd - 1.
  const int32_t bandEnd = bandTop + SurfaceHeight(band);
  const int32_t first = part.sy > bandTop ? part.sy : bandTop;
  const int32_t last = part.sy + part.rows < bandEnd ? part.sy + part.rows : bandEnd;
  if (part.width <= 0 || last <= first) return;
  TransferSurface(buffer, part.left, part.top + (first - part.sy), part.width, last - first, band, part.sx,
                  first - bandTop, RopSrcCopy);
}

// Every run of destination rows that the whole stretch fills from one source row of the band is
// that row stretched across and repeated down: the layer keeps its own mapping across the row,
// and the rows are the pixel buffers' rule whichever layer draws.
void StretchBand(Surface* buffer, const SceneArea& monitor, int32_t w, int32_t h, const Surface* band,
                 int32_t bandTop) {
  const int32_t bandEnd = bandTop + SurfaceHeight(band);
  if (monitor.width <= 0 || monitor.height <= 0) return;
  int32_t row = 0;
  while (row < monitor.height) {
    const int32_t source = SampledSource(row, monitor.height, h);
    if (source >= bandEnd) return;
    int32_t next = row + 1;
    while (next < monitor.height && SampledSource(next, monitor.height, h) == source) ++next;
    if (source >= bandTop) {
      StretchSurface(buffer, monitor.left, monitor.top + row, monitor.width, next - row, band, 0, source - bandTop, w,
                     1, RopSrcCopy);
    }
    row = next;
  }
}

}  // namespace

bool WallpaperRowShown(const WallpaperPlacement& placement, int32_t row) {
  const int32_t h = placement.height;
  for (int32_t i = 0; i < placement.monitorCount; ++i) {
    const SceneArea& monitor = placement.monitors[i];
    if (!placement.stretch) {
      const CentredPart part = CentredOn(monitor, placement.width, h);
      if (part.width > 0 && row >= part.sy && row < part.sy + part.rows) return true;
      continue;
    }
    if (monitor.width <= 0 || monitor.height <= 0) continue;
    // The first destination row sampling `row` or a later one: SampledSource(r) >= row exactly
    // when (2 r + 1) h >= 2 height row.
    const int64_t below = 2 * static_cast<int64_t>(monitor.height) * row - h;
    const int64_t first = below <= 0 ? 0 : (below + 2 * static_cast<int64_t>(h) - 1) / (2 * static_cast<int64_t>(h));
    if (first < monitor.height && SampledSource(first, monitor.height, h) == row) return true;
  }
  return false;
}

void StartRecordBands(RecordBands* bands, const uint8_t* header, uint32_t budget) {
  const int32_t stored = ReadI32LE(header + 8);
  bands->height = stored < 0 ? -stored : stored;
  bands->given = 0;
  bands->bottomUp = stored > 0;
  bands->rowBytes = DibRecordRowBytes(header);
  bands->bandRows = bands->rowBytes ? WallpaperBandRows(bands->rowBytes, budget) : bands->height;
}

int32_t NextRecordBand(RecordBands* bands, int32_t* top) {
  const int32_t left = bands->height - bands->given;
  const int32_t count = left < bands->bandRows ? left : bands->bandRows;
  if (count <= 0) return 0;
  *top = bands->bottomUp ? left - count : bands->given;
  bands->given += count;
  return count;
}

void DrawWallpaperBand(Surface* buffer, const SceneArea& monitor, int32_t width, int32_t height, bool stretch,
                       const Surface* band, int32_t top) {
  if (!band || width <= 0 || height <= 0) return;
  if (stretch) {
    StretchBand(buffer, monitor, width, height, band, top);
  } else {
    CentreBand(buffer, monitor, width, height, band, top);
  }
}
