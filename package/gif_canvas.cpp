#include "gif_canvas.h"

#include <cstdlib>
#include <cstring>

#include "picture_format.h"

namespace {

size_t Offset(const GifCanvas* canvas, int32_t x, int32_t y) {
  return (static_cast<size_t>(y) * static_cast<size_t>(canvas->width) + static_cast<size_t>(x)) * 4;
}

void ClearArea(GifCanvas* canvas) {
  for (int32_t y = canvas->pendingTop; y < canvas->pendingBottom; ++y) {
    size_t start = Offset(canvas, canvas->pendingLeft, y);
    std::memset(canvas->rgba + start, 0, static_cast<size_t>(canvas->pendingRight - canvas->pendingLeft) * 4);
  }
}

void CopyArea(const GifCanvas* canvas, uint8_t* to, const uint8_t* from, int32_t left, int32_t top, int32_t right,
              int32_t bottom) {
  for (int32_t y = top; y < bottom; ++y) {
    size_t start = Offset(canvas, left, y);
    std::memcpy(to + start, from + start, static_cast<size_t>(right - left) * 4);
  }
}

int32_t Clamp(int64_t value, int32_t limit) {
  return static_cast<int32_t>(value < 0 ? 0 : (value > limit ? limit : value));
}

}  // namespace

bool OpenGifCanvas(GifCanvas* canvas, int32_t width, int32_t height) {
  std::memset(canvas, 0, sizeof *canvas);
  canvas->width = width;
  canvas->height = height;
  canvas->rgba = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(width) * static_cast<size_t>(height), 4));
  canvas->pendingDisposal = GifKeep;
  return canvas->rgba != nullptr;
}

uint8_t* GifFrameIndices(GifCanvas* canvas, int64_t width, int64_t height, const char** why) {
  // A frame of no pixels draws nothing; it is no fault.
  if (const char* problem = width > 0 && height > 0 ? PictureSizeProblem(width, height) : nullptr) {
    *why = problem;
    return nullptr;
  }
  std::free(canvas->indices);
  canvas->indices = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(width) * static_cast<size_t>(height) + 1));
  if (!canvas->indices) *why = "not enough memory for the GIF frame";
  return canvas->indices;
}

bool DrawGifFrame(GifCanvas* canvas, const GifFrameRaster& frame, uint8_t* out) {
  if (canvas->pendingDisposal == GifClearToTransparent) ClearArea(canvas);
  if (canvas->pendingDisposal == GifRestorePrevious)
    CopyArea(canvas, canvas->rgba, canvas->saved, canvas->pendingLeft, canvas->pendingTop, canvas->pendingRight,
             canvas->pendingBottom);

  // The part of the frame that lies on the screen.
  const int32_t left = Clamp(frame.left, canvas->width);
  const int32_t top = Clamp(frame.top, canvas->height);
  const int32_t right = Clamp(static_cast<int64_t>(frame.left) + frame.width, canvas->width);
  const int32_t bottom = Clamp(static_cast<int64_t>(frame.top) + frame.height, canvas->height);

  const int disposal = frame.disposal == 2 || frame.disposal == 3 ? frame.disposal : GifKeep;
  if (disposal == GifRestorePrevious) {
    if (!canvas->saved) {
      canvas->saved = static_cast<uint8_t*>(
          std::malloc(static_cast<size_t>(canvas->width) * static_cast<size_t>(canvas->height) * 4));
      if (!canvas->saved) return false;
    }
    CopyArea(canvas, canvas->saved, canvas->rgba, left, top, right, bottom);
  }

  for (int32_t y = top; y < bottom; ++y) {
    const uint8_t* row = frame.indices + static_cast<size_t>(y - frame.top) * static_cast<size_t>(frame.width);
    uint8_t* pixel = canvas->rgba + Offset(canvas, left, y);
    for (int32_t x = left; x < right; ++x, pixel += 4) {
      const uint8_t index = row[x - frame.left];
      if (static_cast<int32_t>(index) == frame.transparentIndex) continue;
      // An index beyond the table is a writer's fault; black is what most viewers show for it.
      if (index < frame.colourCount) {
        std::memcpy(pixel, frame.colours + 3 * index, 3);
      } else {
        std::memset(pixel, 0, 3);
      }
      pixel[3] = 0xFF;
    }
  }

  canvas->pendingDisposal = disposal;
  canvas->pendingLeft = left;
  canvas->pendingTop = top;
  canvas->pendingRight = right < left ? left : right;
  canvas->pendingBottom = bottom < top ? top : bottom;
  std::memcpy(out, canvas->rgba, static_cast<size_t>(canvas->width) * static_cast<size_t>(canvas->height) * 4);
  return true;
}

void CloseGifCanvas(GifCanvas* canvas) {
  std::free(canvas->rgba);
  std::free(canvas->saved);
  std::free(canvas->indices);
  std::memset(canvas, 0, sizeof *canvas);
}
