#include "wallpaper_band.h"

#include "byte_order.h"
#include "dib_record.h"
#include "own_pixels_blend.h"
#include "surface.h"

namespace {

// The wallpaper at its natural size in the middle of the monitor, cut at the monitor's edges so
// that a large one does not spill onto its neighbours: of it, the rows the band holds.
void CentreBand(Surface* buffer, const SceneArea& monitor, int32_t w, int32_t h, const Surface* band,
                int32_t bandTop) {
  int32_t left = monitor.left + (monitor.width - w) / 2;
  int32_t top = monitor.top + (monitor.height - h) / 2;
  int32_t sx = 0, sy = 0;
  int32_t right = left + w, bottom = top + h;
  if (left < monitor.left) sx = monitor.left - left, left = monitor.left;
  if (top < monitor.top) sy = monitor.top - top, top = monitor.top;
  if (right > monitor.left + monitor.width) right = monitor.left + monitor.width;
  if (bottom > monitor.top + monitor.height) bottom = monitor.top + monitor.height;
  // Source rows sy .. sy + (bottom - top) - 1 show; the band holds bandTop .. bandEnd - 1.
  const int32_t bandEnd = bandTop + SurfaceHeight(band);
  int32_t first = sy > bandTop ? sy : bandTop;
  int32_t last = sy + (bottom - top) < bandEnd ? sy + (bottom - top) : bandEnd;
  if (right <= left || last <= first) return;
  TransferSurface(buffer, left, top + (first - sy), right - left, last - first, band, sx, first - bandTop,
                  RopSrcCopy);
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
