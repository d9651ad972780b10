// The surface layer on plain 32-bit pixel buffers: the reference for what every operation
// does, used by tests, benchmarks and tools on every platform.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#if defined(__linux__)
#include <sys/mman.h>
#endif

#include "dib_image.h"
#include "own_pixels_blend.h"
#include "surface.h"
#include "surface_soft.h"

#include "scanline_fill.h"

struct MaskRuns;
struct OwnRuns;

struct SoftSurface : Surface {
  uint32_t* pixels;
  SoftWindowSink* window;  // set for a window: no pixels, copies go to the sink
  uint64_t stamp;          // new with every change of the pixels, never reused
  mutable MaskRuns* runs;  // what a masked transfer learnt of this mask, or null
  bool highBytes;          // some pixel may have bits above 0x00FFFFFF (colours never do)
  OwnRuns* ownRuns;        // own pixels: what each run of a row does to the picture beneath
};

namespace {

SoftSurface* Soft(Surface* surface) {
  return static_cast<SoftSurface*>(surface);
}

const SoftSurface* Soft(const Surface* surface) {
  return static_cast<const SoftSurface*>(surface);
}
int32_t liveSurfaces = 0;
uint64_t lastStamp = 0;

void Touch(SoftSurface* surface) {
  surface->stamp = ++lastStamp;
}

// What combining src into part of dest with `op` may leave above the colour bits (AND only
// clears bits, and only in that part).
void NoteHighBytes(SoftSurface* dest, const SoftSurface* src, RasterOp op) {
  if (op != RopSrcAnd) dest->highBytes = dest->highBytes || src->highBytes;
}

SoftSurface* InitSurface(SoftSurface* surface, int32_t width, int32_t height, uint32_t* pixels) {
  surface->width = width;
  surface->height = height;
  surface->pixels = pixels;
  surface->window = nullptr;
  surface->runs = nullptr;
  surface->highBytes = false;
  surface->ownAlpha = 0;
  surface->ownRuns = nullptr;
  Touch(surface);
  ++liveSurfaces;
  return surface;
}

SoftSurface* NewSurface(int32_t width, int32_t height, uint32_t* pixels) {
  SoftSurface* surface = static_cast<SoftSurface*>(malloc(sizeof(SoftSurface)));
  return surface ? InitSurface(surface, width, height, pixels) : nullptr;
}

// The pixels of a picture made in one block with its description.
uint32_t* PixelsAfter(SoftSurface* surface) {
  return reinterpret_cast<uint32_t*>(surface + 1);
}

// Clips a w x h transfer to both pictures; false when nothing is left.
bool ClipTransfer(const SoftSurface* dest, int32_t* dx, int32_t* dy, int32_t* w, int32_t* h,
                  const SoftSurface* src, int32_t* sx, int32_t* sy) {
  if (!dest || !src || !(dest->pixels || dest->window) || !src->pixels) return false;
  int64_t x0 = *dx, y0 = *dy, s0 = *sx, t0 = *sy, width = *w, height = *h;
  if (width <= 0 || height <= 0) return false;
  if (x0 < 0) { s0 -= x0; width += x0; x0 = 0; }
  if (y0 < 0) { t0 -= y0; height += y0; y0 = 0; }
  if (s0 < 0) { x0 -= s0; width += s0; s0 = 0; }
  if (t0 < 0) { y0 -= t0; height += t0; t0 = 0; }
  if (x0 + width > dest->width) width = dest->width - x0;
  if (y0 + height > dest->height) height = dest->height - y0;
  if (s0 + width > src->width) width = src->width - s0;
  if (t0 + height > src->height) height = src->height - t0;
  if (width <= 0 || height <= 0) return false;
  *dx = static_cast<int32_t>(x0);
  *dy = static_cast<int32_t>(y0);
  *sx = static_cast<int32_t>(s0);
  *sy = static_cast<int32_t>(t0);
  *w = static_cast<int32_t>(width);
  *h = static_cast<int32_t>(height);
  return true;
}

// Asks for a row a few rows ahead while this one is drawn. A character's box is a hundred short
// rows, each on a page of its own in a screen-sized buffer: the processor's own prefetching
// starts afresh on every row, and each row would otherwise wait for memory.
const int32_t kRowsAhead = 4;

inline void PrefetchRows(const uint32_t* from, uint32_t* to, int32_t count) {
  const char* read = reinterpret_cast<const char*>(from);
  char* written = reinterpret_cast<char*>(to);
  for (int32_t offset = 0; offset < count * 4; offset += 64) {
    __builtin_prefetch(read + offset);
    __builtin_prefetch(written + offset, 1);
  }
}

inline void Combine(uint32_t* d, const uint32_t* s, int32_t count, RasterOp op) {
  switch (op) {
    case RopSrcCopy:
      memcpy(d, s, static_cast<size_t>(count) * 4);
      break;
    case RopSrcAnd:
      for (int32_t i = 0; i < count; ++i) d[i] &= s[i];
      break;
    case RopSrcPaint:
      for (int32_t i = 0; i < count; ++i) d[i] |= s[i];
      break;
    case RopSrcInvert:
      for (int32_t i = 0; i < count; ++i) d[i] ^= s[i];
      break;
  }
}

// Zeroed pixel memory for a picture of at least kLargePicture bytes. A screen-sized buffer is
// asked for in huge pages where the system has them: a paint touches a hundred rows of a
// character's box in each buffer, each row on a page of its own, and ordinary pages then cost
// more in address translation than in copying.
const size_t kHugePage = 2u << 20;
const size_t kLargePicture = 2 * kHugePage;

uint32_t* AllocateLargePixels(size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  void* memory = nullptr;
  if (posix_memalign(&memory, kHugePage, bytes) != 0) return nullptr;
  madvise(memory, bytes, MADV_HUGEPAGE);
  memset(memory, 0, bytes);
  return static_cast<uint32_t*>(memory);
#else
  return static_cast<uint32_t*>(calloc(bytes, 1));
#endif
}

bool SurfaceSizeFits(int32_t width, int32_t height) {
  return width > 0 && height > 0 && width <= 32768 && height <= 32768;
}

SoftSurface* NewPicture(int32_t width, int32_t height) {
  if (!SurfaceSizeFits(width, height)) return nullptr;
  const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
  // A picture below the size that goes in huge pages (a frame's mask, a preview) comes in one
  // block with its description: loading a scene makes one or more for every frame.
  if (bytes < kLargePicture) {
    SoftSurface* surface = static_cast<SoftSurface*>(calloc(1, sizeof(SoftSurface) + bytes));
    return surface ? InitSurface(surface, width, height, PixelsAfter(surface)) : nullptr;
  }
  uint32_t* pixels = AllocateLargePixels(bytes);
  if (!pixels) return nullptr;
  SoftSurface* surface = NewSurface(width, height, pixels);
  if (!surface) free(pixels);
  return surface;
}

Surface* Create(const Surface*, int32_t width, int32_t height) {
  return NewPicture(width, height);
}

Surface* LoadDib(const Surface*, const uint8_t* header, uint32_t headerSize, const uint8_t* bits, uint32_t bitsSize) {
  DibPixels image;
  const char* why = nullptr;
  if (!DecodeDib(header, headerSize, bits, bitsSize, &image, &why)) return nullptr;
  // The decoded block has the surface's layout and is released the same way: it becomes the
  // surface's pixels rather than being copied into a second block of the same size.
  SoftSurface* surface =
      SurfaceSizeFits(image.width, image.height) ? NewSurface(image.width, image.height, image.pixels) : nullptr;
  if (!surface) {
    ReleaseDibPixels(&image);
    return nullptr;
  }
  const size_t count = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
  uint32_t above = 0;
  for (size_t i = 0; i < count; ++i) above |= surface->pixels[i];
  surface->highBytes = above > kWhite;
  return surface;
}

void Release(Surface* released);

}  // namespace

// An own-pixels frame in runs of columns along each row: clear runs leave the picture beneath
// alone, opaque ones replace it, and only the runs between are blended; a sprite's box is mostly
// clear margin and opaque figure.
struct OwnRuns {
  int32_t reach[4];   // the box of the runs that are not clear: left, top, right, bottom
  int32_t* rowStart;  // height + 1 indexes into runs
  uint32_t* runs;     // (first column << 2) | OwnRunKind; a run ends where the next begins
};

namespace {

enum OwnRunKind : uint32_t { OwnClear = 0, OwnOpaque = 1, OwnBlended = 2 };

OwnRunKind OwnKindOf(uint32_t pixel) {
  const uint32_t alpha = pixel >> 24;
  return alpha == 0 ? OwnClear : alpha == 255 ? OwnOpaque : OwnBlended;
}

// Calls emit(row, column, kind, index) at the start of every run; the number of runs.
template <typename Emit>
size_t WalkOwnRuns(const SoftSurface* surface, Emit emit) {
  size_t count = 0;
  for (int32_t y = 0; y < surface->height; ++y) {
    const uint32_t* row = surface->pixels + static_cast<size_t>(y) * surface->width;
    uint32_t current = 3;
    for (int32_t x = 0; x < surface->width; ++x) {
      const OwnRunKind kind = OwnKindOf(row[x]);
      if (kind == current) continue;
      current = kind;
      emit(y, x, kind, count++);
    }
  }
  return count;
}

void Release(Surface* released);

Surface* LoadOwnPixels(const Surface*, int32_t width, int32_t height, const uint8_t* stored) {
  SoftSurface* surface = NewPicture(width, height);
  if (!surface) return nullptr;
  for (int32_t y = height - 1; y >= 0; --y) {
    uint32_t* row = surface->pixels + static_cast<size_t>(y) * width;
    for (int32_t x = 0; x < width; ++x, stored += 4) row[x] = PremultipliedPixel(stored, false);
  }
  const size_t count = WalkOwnRuns(surface, [](int32_t, int32_t, OwnRunKind, size_t) {});
  const size_t rows = static_cast<size_t>(height) + 1;
  OwnRuns* runs = static_cast<OwnRuns*>(malloc(sizeof(OwnRuns) + rows * 4 + count * 4));
  if (!runs) {
    Release(surface);
    return nullptr;
  }
  runs->rowStart = reinterpret_cast<int32_t*>(runs + 1);
  runs->runs = reinterpret_cast<uint32_t*>(runs->rowStart + rows);
  runs->rowStart[rows - 1] = static_cast<int32_t>(count);
  WalkOwnRuns(surface, [runs](int32_t y, int32_t x, OwnRunKind kind, size_t index) {
    if (x == 0) runs->rowStart[y] = static_cast<int32_t>(index);
    runs->runs[index] = (static_cast<uint32_t>(x) << 2) | kind;
  });
  int32_t* reach = runs->reach;
  reach[0] = width, reach[1] = height, reach[2] = reach[3] = 0;
  for (int32_t y = 0; y < height; ++y) {
    const int32_t last = runs->rowStart[y + 1];
    for (int32_t k = runs->rowStart[y]; k < last; ++k) {
      if ((runs->runs[k] & 3) == OwnClear) continue;
      const int32_t from = static_cast<int32_t>(runs->runs[k] >> 2);
      const int32_t to = k + 1 < last ? static_cast<int32_t>(runs->runs[k + 1] >> 2) : width;
      if (from < reach[0]) reach[0] = from;
      if (to > reach[2]) reach[2] = to;
      if (y < reach[1]) reach[1] = y;
      reach[3] = y + 1;
    }
  }
  if (reach[2] == 0) reach[0] = reach[1] = 0;
  surface->ownRuns = runs;
  surface->ownAlpha = 1;
  surface->highBytes = true;
  return surface;
}

// One sampled pixel of a scaled blend, whose runs do not follow the frame's.
inline void BlendPixel(uint32_t* d, uint32_t pixel) {
  const uint32_t alpha = pixel >> 24;
  if (alpha == 255) {
    *d = pixel & kWhite;
  } else if (alpha != 0) {
    *d = SourceOver(pixel, *d);
  }
}

void Release(Surface* released) {
  SoftSurface* surface = Soft(released);
  if (!surface) return;
  free(surface->runs);
  free(surface->ownRuns);
  if (surface->pixels != PixelsAfter(surface)) free(surface->pixels);
  free(surface);
  --liveSurfaces;
}

Surface* OpenReference() {
  return NewSurface(0, 0, nullptr);
}

void Transfer(Surface* target, int32_t dx, int32_t dy, int32_t width, int32_t height, const Surface* source,
              int32_t sx, int32_t sy, RasterOp op) {
  SoftSurface* dest = Soft(target);
  const SoftSurface* src = Soft(source);
  if (!ClipTransfer(dest, &dx, &dy, &width, &height, src, &sx, &sy)) return;
  if (dest->window) {
    if (op == RopSrcCopy) {
      dest->window->put(dest->window, src->pixels + static_cast<size_t>(sy) * src->width + sx,
                        src->width, dx, dy, width, height, true);
    }
    return;
  }
  Touch(dest);
  NoteHighBytes(dest, src, op);
  for (int32_t row = 0; row < height; ++row) {
    uint32_t* d = dest->pixels + static_cast<size_t>(dy + row) * dest->width + dx;
    const uint32_t* s = src->pixels + static_cast<size_t>(sy + row) * src->width + sx;
    if (row + kRowsAhead < height) {
      PrefetchRows(s + static_cast<size_t>(kRowsAhead) * src->width, d + static_cast<size_t>(kRowsAhead) * dest->width,
                   width);
    }
    if (dest == src) {
      // Overlapping copies within one picture never happen in the engine; keep them defined.
      memmove(d, s, static_cast<size_t>(width) * 4);
    } else {
      Combine(d, s, width, op);
    }
  }
}

}  // namespace

// What a mask and its sprite do to each pixel, in runs of columns along each row. Characters are
// drawn every paint from the same few pairs, and the mask (as large as the sprite) then need not
// be read at all: only the sprite's pixels where it covers the picture, the rest left as it is.
struct MaskRuns {
  const SoftSurface* sprite;
  uint64_t maskStamp, spriteStamp;  // the pair as the runs describe it
  bool plain;                       // too many runs to pay: the pixels are combined one by one
  int32_t reach[4];                 // the box of the runs other than RunKeep: left, top, right, bottom
  int32_t* rowStart;                // height + 1 indexes into runs
  uint32_t* runs;                   // (first column << 2) | kind; a run ends where the next begins
};

namespace {

enum RunKind : uint32_t {
  RunKeep = 0,   // mask white, sprite black: the picture stays (its top byte cleared, as AND does)
  RunCopy = 1,   // mask black: the sprite's pixels replace the picture's
  RunMixed = 2,  // anything else: (picture AND mask) OR sprite, pixel by pixel
};

RunKind KindOf(uint32_t mask, uint32_t sprite) {
  if (mask == 0) return RunCopy;
  return mask == kWhite && sprite == 0 ? RunKeep : RunMixed;
}

// Walks the pair's rows, calling emit(row, column, kind, index) at the start of every run; the
// number of runs.
template <typename Emit>
size_t WalkRuns(const SoftSurface* mask, const SoftSurface* sprite, Emit emit) {
  size_t count = 0;
  for (int32_t y = 0; y < mask->height; ++y) {
    const uint32_t* m = mask->pixels + static_cast<size_t>(y) * mask->width;
    const uint32_t* s = sprite->pixels + static_cast<size_t>(y) * sprite->width;
    uint32_t current = 3;
    for (int32_t x = 0; x < mask->width; ++x) {
      const RunKind kind = KindOf(m[x], s[x]);
      if (kind == current) continue;
      current = kind;
      emit(y, x, kind, count++);
    }
  }
  return count;
}

// The box outside which the pair only keeps the picture (all of it kept: an empty box).
void FindReach(const SoftSurface* mask, const SoftSurface* sprite, int32_t reach[4]) {
  int32_t left = mask->width, top = mask->height, right = 0, bottom = 0;
  for (int32_t y = 0; y < mask->height; ++y) {
    const uint32_t* m = mask->pixels + static_cast<size_t>(y) * mask->width;
    const uint32_t* s = sprite->pixels + static_cast<size_t>(y) * sprite->width;
    int32_t first = -1, last = -1;
    for (int32_t x = 0; x < mask->width; ++x) {
      if (KindOf(m[x], s[x]) == RunKeep) continue;
      if (first < 0) first = x;
      last = x;
    }
    if (first < 0) continue;
    if (first < left) left = first;
    if (last + 1 > right) right = last + 1;
    if (y < top) top = y;
    bottom = y + 1;
  }
  if (right == 0) left = top = 0;
  reach[0] = left;
  reach[1] = top;
  reach[2] = right;
  reach[3] = bottom;
}

// The runs of the pair as it is now: kept from the last time while neither has changed, else
// found again. Null when there is no memory for them.
const MaskRuns* RunsFor(const SoftSurface* mask, const SoftSurface* sprite) {
  MaskRuns* runs = mask->runs;
  if (runs && runs->sprite == sprite && runs->maskStamp == mask->stamp && runs->spriteStamp == sprite->stamp)
    return runs;
  free(runs);
  mask->runs = nullptr;
  const size_t count = WalkRuns(mask, sprite, [](int32_t, int32_t, RunKind, size_t) {});
  const size_t rows = static_cast<size_t>(mask->height) + 1;
  // Past one run in eight pixels the runs cost more than the pixels they spare.
  const bool plain = count > static_cast<size_t>(mask->width) * mask->height / 8;
  const size_t bytes = sizeof(MaskRuns) + (plain ? 0 : rows * 4 + count * 4);
  runs = static_cast<MaskRuns*>(malloc(bytes));
  if (!runs) return nullptr;
  runs->sprite = sprite;
  runs->maskStamp = mask->stamp;
  runs->spriteStamp = sprite->stamp;
  runs->plain = plain;
  FindReach(mask, sprite, runs->reach);
  runs->rowStart = nullptr;
  runs->runs = nullptr;
  if (!plain) {
    runs->rowStart = reinterpret_cast<int32_t*>(runs + 1);
    runs->runs = reinterpret_cast<uint32_t*>(runs->rowStart + rows);
    // Every row starts a run at its column 0.
    runs->rowStart[rows - 1] = static_cast<int32_t>(count);
    WalkRuns(mask, sprite, [runs](int32_t y, int32_t x, RunKind kind, size_t index) {
      if (x == 0) runs->rowStart[y] = static_cast<int32_t>(index);
      runs->runs[index] = (static_cast<uint32_t>(x) << 2) | kind;
    });
  }
  mask->runs = runs;
  return runs;
}

void Stretch(Surface* target, int32_t dx, int32_t dy, int32_t dw, int32_t dh, const Surface* source, int32_t sx,
             int32_t sy, int32_t sw, int32_t sh, RasterOp op);

// A stretch onto a window goes through a buffer of the visible part, which then goes to the
// sink whole; only the preview, a small window, ever asks for this.
void StretchOntoWindow(SoftSurface* window, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                       const SoftSurface* src, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                       RasterOp op) {
  if (op != RopSrcCopy) return;
  const int64_t left = dx < 0 ? 0 : dx, top = dy < 0 ? 0 : dy;
  int64_t right = static_cast<int64_t>(dx) + dw, bottom = static_cast<int64_t>(dy) + dh;
  if (right > window->width) right = window->width;
  if (bottom > window->height) bottom = window->height;
  if (left >= right || top >= bottom) return;
  const int32_t width = static_cast<int32_t>(right - left);
  const int32_t height = static_cast<int32_t>(bottom - top);
  SoftSurface* visible = NewPicture(width, height);
  if (!visible) return;
  Stretch(visible, static_cast<int32_t>(dx - left), static_cast<int32_t>(dy - top), dw, dh, src, sx, sy, sw, sh,
          RopSrcCopy);
  window->window->put(window->window, visible->pixels, width, static_cast<int32_t>(left),
                      static_cast<int32_t>(top), width, height, false);
  Release(visible);
}

void Stretch(Surface* target, int32_t dx, int32_t dy, int32_t dw, int32_t dh, const Surface* source, int32_t sx,
             int32_t sy, int32_t sw, int32_t sh, RasterOp op) {
  SoftSurface* dest = Soft(target);
  const SoftSurface* src = Soft(source);
  if (!dest || !src || !(dest->pixels || dest->window) || !src->pixels) return;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  if (dest->window) {
    StretchOntoWindow(dest, dx, dy, dw, dh, src, sx, sy, sw, sh, op);
    return;
  }
  // Each destination pixel takes the source pixel under its centre.
  int64_t colStart = dx < 0 ? 0 : dx;
  int64_t colEnd = static_cast<int64_t>(dx) + dw;
  if (colEnd > dest->width) colEnd = dest->width;
  int64_t rowStart = dy < 0 ? 0 : dy;
  int64_t rowEnd = static_cast<int64_t>(dy) + dh;
  if (rowEnd > dest->height) rowEnd = dest->height;
  if (colStart >= colEnd || rowStart >= rowEnd) return;
  Touch(dest);
  NoteHighBytes(dest, src, op);

  // Source columns grow with destination columns, so those outside the source form the two
  // ends of the range and can be cut off before the row loops. Each source row is spread out
  // once into `spread`; enlarged pictures reuse it for the destination rows that repeat it.
  // A character scaled on its depth axis is drawn this way at every paint: the tables of a span
  // up to a wide character's live on the stack rather than in an allocation per draw.
  const int64_t span = colEnd - colStart;
  const int64_t kStackSpan = 512;
  int32_t onStack[2 * kStackSpan];
  int32_t* columns = span <= kStackSpan ? onStack : static_cast<int32_t*>(malloc(static_cast<size_t>(span) * 8));
  if (!columns) return;
  uint32_t* spread = reinterpret_cast<uint32_t*>(columns + span);
  int32_t count = 0;
  int64_t firstCol = colEnd;
  for (int64_t col = colStart; col < colEnd; ++col) {
    int64_t u = sx + ((2 * (col - dx) + 1) * sw) / (2 * static_cast<int64_t>(dw));
    if (u < 0 || u >= src->width) continue;
    if (count == 0) firstCol = col;
    columns[count++] = static_cast<int32_t>(u);
  }
  int64_t spreadRow = -1;
  for (int64_t row = rowStart; row < rowEnd && count > 0; ++row) {
    int64_t v = sy + ((2 * (row - dy) + 1) * sh) / (2 * static_cast<int64_t>(dh));
    if (v < 0 || v >= src->height) continue;
    if (v != spreadRow) {
      const uint32_t* s = src->pixels + static_cast<size_t>(v) * src->width;
      for (int32_t k = 0; k < count; ++k) spread[k] = s[columns[k]];
      spreadRow = v;
    }
    Combine(dest->pixels + static_cast<size_t>(row) * dest->width + firstCol, spread, count, op);
  }
  if (columns != onStack) free(columns);
}

void MaskedTransfer(Surface* target, int32_t dx, int32_t dy, int32_t width, int32_t height, const Surface* maskSurface,
                    const Surface* spriteSurface) {
  SoftSurface* dest = Soft(target);
  const SoftSurface* mask = Soft(maskSurface);
  const SoftSurface* sprite = Soft(spriteSurface);
  if (!dest || !mask || !sprite || !dest->pixels || !mask->pixels || !sprite->pixels || dest == mask ||
      dest == sprite || mask->width != sprite->width || mask->height != sprite->height) {
    // The two transfers themselves: a window, one picture drawn onto itself, or a pair that
    // clips differently.
    Transfer(dest, dx, dy, width, height, mask, 0, 0, RopSrcAnd);
    Transfer(dest, dx, dy, width, height, sprite, 0, 0, RopSrcPaint);
    return;
  }
  int32_t sx = 0, sy = 0;
  if (!ClipTransfer(dest, &dx, &dy, &width, &height, mask, &sx, &sy)) return;
  Touch(dest);
  // A white mask run leaves a picture without high bytes as it is: it need not be read.
  const bool keepIsNothing = !dest->highBytes;
  dest->highBytes = dest->highBytes || sprite->highBytes;
  const MaskRuns* runs = RunsFor(mask, sprite);
  for (int32_t row = 0; row < height; ++row) {
    // The picture's pixel under the pair's column x is d[x - sx].
    uint32_t* d = dest->pixels + static_cast<size_t>(dy + row) * dest->width + dx;
    const uint32_t* m = mask->pixels + static_cast<size_t>(sy + row) * mask->width;
    const uint32_t* s = sprite->pixels + static_cast<size_t>(sy + row) * sprite->width;
    if (row + kRowsAhead < height) {
      PrefetchRows(s + static_cast<size_t>(kRowsAhead) * sprite->width + sx,
                   d + static_cast<size_t>(kRowsAhead) * dest->width, width);
    }
    if (!runs || runs->plain) {
      for (int32_t x = sx; x < sx + width; ++x) d[x - sx] = (d[x - sx] & m[x]) | s[x];
      continue;
    }
    const int32_t last = runs->rowStart[sy + row + 1];
    for (int32_t k = runs->rowStart[sy + row]; k < last; ++k) {
      int32_t from = static_cast<int32_t>(runs->runs[k] >> 2);
      int32_t to = k + 1 < last ? static_cast<int32_t>(runs->runs[k + 1] >> 2) : mask->width;
      if (from < sx) from = sx;
      if (to > sx + width) to = sx + width;
      if (from >= to) continue;
      switch (runs->runs[k] & 3) {
        case RunKeep:
          if (keepIsNothing) break;
          for (int32_t x = from; x < to; ++x) d[x - sx] &= kWhite;
          break;
        case RunCopy:
          memcpy(d + (from - sx), s + from, static_cast<size_t>(to - from) * 4);
          break;
        default:
          for (int32_t x = from; x < to; ++x) d[x - sx] = (d[x - sx] & m[x]) | s[x];
          break;
      }
    }
  }
}

void MaskedReach(const Surface* target, int32_t width, int32_t height, const Surface* maskSurface,
                 const Surface* spriteSurface, int32_t reach[4]) {
  const SoftSurface* dest = Soft(target);
  const SoftSurface* mask = Soft(maskSurface);
  const SoftSurface* sprite = Soft(spriteSurface);
  reach[0] = reach[1] = 0;
  reach[2] = width;
  reach[3] = height;
  if (!mask && sprite && sprite->ownRuns && sprite->width == width && sprite->height == height) {
    // A blend changes nothing where its frame is clear.
    for (int i = 0; i < 4; ++i) reach[i] = sprite->ownRuns->reach[i];
    return;
  }
  // Where the masked transfer falls back on its two transfers, or where a white mask clears the
  // bits above the picture's colours, every pixel of the box may change.
  if (!dest || !mask || !sprite || !dest->pixels || !mask->pixels || !sprite->pixels || dest == mask ||
      dest == sprite || mask->width != sprite->width || mask->height != sprite->height || dest->highBytes)
    return;
  const MaskRuns* runs = RunsFor(mask, sprite);
  if (!runs) return;
  reach[0] = runs->reach[0] < width ? runs->reach[0] : width;
  reach[1] = runs->reach[1] < height ? runs->reach[1] : height;
  reach[2] = runs->reach[2] < width ? runs->reach[2] : width;
  reach[3] = runs->reach[3] < height ? runs->reach[3] : height;
}

void Blend(Surface* target, int32_t dx, int32_t dy, int32_t dw, int32_t dh, const Surface* source) {
  SoftSurface* dest = Soft(target);
  const SoftSurface* src = Soft(source);
  if (!dest || !src || !dest->pixels || !src->pixels || !src->ownRuns || dest == src || dw <= 0 || dh <= 0) return;
  const int64_t left = dx < 0 ? 0 : dx, top = dy < 0 ? 0 : dy;
  const int64_t right = static_cast<int64_t>(dx) + dw < dest->width ? static_cast<int64_t>(dx) + dw : dest->width;
  const int64_t bottom = static_cast<int64_t>(dy) + dh < dest->height ? static_cast<int64_t>(dy) + dh : dest->height;
  if (left >= right || top >= bottom) return;
  Touch(dest);
  if (dw == src->width && dh == src->height) {
    const OwnRuns* runs = src->ownRuns;
    for (int64_t row = top; row < bottom; ++row) {
      const int32_t v = static_cast<int32_t>(row - dy);
      const uint32_t* s = src->pixels + static_cast<size_t>(v) * src->width;
      uint32_t* d = dest->pixels + static_cast<size_t>(row) * dest->width;
      if (row + kRowsAhead < bottom)
        PrefetchRows(s + static_cast<size_t>(kRowsAhead) * src->width, d + static_cast<size_t>(kRowsAhead) * dest->width + left,
                     static_cast<int32_t>(right - left));
      const int32_t last = runs->rowStart[v + 1];
      for (int32_t k = runs->rowStart[v]; k < last; ++k) {
        const uint32_t kind = runs->runs[k] & 3;
        if (kind == OwnClear) continue;
        int64_t from = static_cast<int64_t>(runs->runs[k] >> 2) + dx;
        int64_t to = (k + 1 < last ? static_cast<int64_t>(runs->runs[k + 1] >> 2) : src->width) + dx;
        if (from < left) from = left;
        if (to > right) to = right;
        if (kind == OwnOpaque) {
          for (int64_t col = from; col < to; ++col) d[col] = s[col - dx] & kWhite;
        } else {
          for (int64_t col = from; col < to; ++col) d[col] = SourceOver(s[col - dx], d[col]);
        }
      }
    }
    return;
  }
  // Scaled: the source column of each destination column, found once for all rows.
  const int64_t span = right - left;
  const int64_t kStackSpan = 512;
  int32_t onStack[kStackSpan];
  int32_t* columns = span <= kStackSpan ? onStack : static_cast<int32_t*>(malloc(static_cast<size_t>(span) * 4));
  if (!columns) return;
  for (int64_t col = left; col < right; ++col) columns[col - left] = SampledSource(col - dx, dw, src->width);
  for (int64_t row = top; row < bottom; ++row) {
    const uint32_t* s = src->pixels + static_cast<size_t>(SampledSource(row - dy, dh, src->height)) * src->width;
    uint32_t* d = dest->pixels + static_cast<size_t>(row) * dest->width + left;
    for (int64_t k = 0; k < span; ++k) BlendPixel(d + k, s[columns[k]]);
  }
  if (columns != onStack) free(columns);
}

// The pair as a masked transfer can take it in one pass; otherwise its two transfers (or
// stretches) are the definition.
bool PairFitsOnePass(const SoftSurface* dest, const SoftSurface* mask, const SoftSurface* sprite) {
  return dest && mask && sprite && dest->pixels && mask->pixels && sprite->pixels && dest != mask && dest != sprite &&
         mask->width == sprite->width && mask->height == sprite->height;
}

// The source column (or row) under the centre of column k of a stretch of `from` onto `to`.
inline int32_t SourceUnder(int64_t k, int32_t from, int32_t to) { return SampledSource(k, to, from); }

// The first of `to` stretched columns whose source column is `column` or later.
int32_t FirstStretchedAt(int32_t column, int32_t from, int32_t to) {
  int32_t k = static_cast<int32_t>(static_cast<int64_t>(column) * to / from);
  while (k > 0 && SourceUnder(k - 1, from, to) >= column) --k;
  while (k < to && SourceUnder(k, from, to) < column) ++k;
  return k;
}

// A character at another depth than its natural one is drawn this way at every paint, its size
// changing with its depth. The runs of the pair at natural size serve every size: source columns
// grow with destination columns, so each run of a source row covers one stretch of each
// destination row that takes it, and only the sprite's pixels under the picture are read.
void StretchMasked(Surface* target, int32_t dx, int32_t dy, int32_t dw, int32_t dh, const Surface* maskSurface,
                   const Surface* spriteSurface) {
  SoftSurface* dest = Soft(target);
  const SoftSurface* mask = Soft(maskSurface);
  const SoftSurface* sprite = Soft(spriteSurface);
  if (!PairFitsOnePass(dest, mask, sprite)) {
    const int32_t sw = SurfaceWidth(mask), sh = SurfaceHeight(mask);
    Stretch(dest, dx, dy, dw, dh, mask, 0, 0, sw, sh, RopSrcAnd);
    Stretch(dest, dx, dy, dw, dh, sprite, 0, 0, sw, sh, RopSrcPaint);
    return;
  }
  if (dw <= 0 || dh <= 0) return;
  const int32_t sw = mask->width, sh = mask->height;
  const int64_t colStart = dx < 0 ? 0 : dx;
  const int64_t colEnd = std::min<int64_t>(static_cast<int64_t>(dx) + dw, dest->width);
  const int64_t rowStart = dy < 0 ? 0 : dy;
  const int64_t rowEnd = std::min<int64_t>(static_cast<int64_t>(dy) + dh, dest->height);
  if (colStart >= colEnd || rowStart >= rowEnd) return;
  const int32_t span = static_cast<int32_t>(colEnd - colStart);
  // columns[k]: the source column of destination column k; startOf[c]: the first destination
  // column whose source column is c or later, so that a source run [from, to) covers the
  // destination columns [startOf[from], startOf[to]) without a look at each of them.
  const int32_t kStackSpan = 1024;
  int32_t onStack[2 * kStackSpan + 1];
  const bool small = span <= kStackSpan && sw <= kStackSpan;
  int32_t* columns =
      small ? onStack : static_cast<int32_t*>(malloc((static_cast<size_t>(span) + sw + 1) * 4));
  if (!columns) return;
  int32_t* startOf = columns + (small ? kStackSpan : span);
  int32_t c = 0;
  for (int32_t k = 0; k < span; ++k) {
    columns[k] = SourceUnder(colStart + k - dx, sw, dw);
    while (c <= columns[k]) startOf[c++] = k;
  }
  while (c <= sw) startOf[c++] = span;
  Touch(dest);
  const bool keepIsNothing = !dest->highBytes;
  dest->highBytes = dest->highBytes || sprite->highBytes;
  const MaskRuns* runs = RunsFor(mask, sprite);
  int32_t lastV = -1;
  for (int64_t row = rowStart; row < rowEnd; ++row) {
    const int32_t v = SourceUnder(row - dy, sh, dh);
    uint32_t* d = dest->pixels + static_cast<size_t>(row) * dest->width + colStart;
    const uint32_t* m = mask->pixels + static_cast<size_t>(v) * sw;
    const uint32_t* s = sprite->pixels + static_cast<size_t>(v) * sw;
    // The pair is small and stays in the cache; the picture's rows are a page apart each.
    if (row + kRowsAhead < rowEnd) {
      const char* ahead = reinterpret_cast<const char*>(d + static_cast<size_t>(kRowsAhead) * dest->width);
      for (int32_t offset = 0; offset < span * 4; offset += 64) __builtin_prefetch(ahead + offset, 1);
    }
    if (!runs || runs->plain) {
      for (int32_t k = 0; k < span; ++k) d[k] = (d[k] & m[columns[k]]) | s[columns[k]];
      continue;
    }
    // An enlarged row repeats the source row of the one above it, whose copied runs then hold
    // the very pixels this row takes, already in the cache and in order.
    const uint32_t* above = v == lastV ? d - dest->width : nullptr;
    lastV = v;
    const int32_t last = runs->rowStart[v + 1];
    for (int32_t r = runs->rowStart[v]; r < last; ++r) {
      const int32_t from = startOf[runs->runs[r] >> 2];
      if (from >= span) break;
      const int32_t to = r + 1 < last ? startOf[runs->runs[r + 1] >> 2] : span;
      switch (runs->runs[r] & 3) {
        case RunKeep:
          if (keepIsNothing) break;
          for (int32_t i = from; i < to; ++i) d[i] &= kWhite;
          break;
        case RunCopy:
          if (above) {
            memcpy(d + from, above + from, static_cast<size_t>(to - from) * 4);
          } else {
            for (int32_t i = from; i < to; ++i) d[i] = s[columns[i]];
          }
          break;
        default:
          for (int32_t i = from; i < to; ++i) d[i] = (d[i] & m[columns[i]]) | s[columns[i]];
          break;
      }
    }
  }
  if (columns != onStack) free(columns);
}

void StretchedReach(const Surface* target, int32_t dw, int32_t dh, const Surface* maskSurface,
                        const Surface* spriteSurface, int32_t reach[4]) {
  const SoftSurface* dest = Soft(target);
  const SoftSurface* mask = Soft(maskSurface);
  const SoftSurface* sprite = Soft(spriteSurface);
  reach[0] = reach[1] = 0;
  reach[2] = dw;
  reach[3] = dh;
  if (dw <= 0 || dh <= 0 || !PairFitsOnePass(dest, mask, sprite) || dest->highBytes) return;
  const MaskRuns* runs = RunsFor(mask, sprite);
  if (!runs) return;
  if (runs->reach[2] == 0) {
    reach[2] = reach[3] = 0;
    return;
  }
  reach[0] = FirstStretchedAt(runs->reach[0], mask->width, dw);
  reach[1] = FirstStretchedAt(runs->reach[1], mask->height, dh);
  reach[2] = FirstStretchedAt(runs->reach[2], mask->width, dw);
  reach[3] = FirstStretchedAt(runs->reach[3], mask->height, dh);
}

void Fill(Surface* target, int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour) {
  SoftSurface* dest = Soft(target);
  if (!dest || !dest->pixels) return;
  if (left < 0) left = 0;
  if (top < 0) top = 0;
  if (right > dest->width) right = dest->width;
  if (bottom > dest->height) bottom = dest->height;
  Touch(dest);
  dest->highBytes |= colour > kWhite;
  for (int32_t y = top; y < bottom; ++y) {
    uint32_t* d = dest->pixels + static_cast<size_t>(y) * dest->width;
    // A fill restores a character's box at every paint, a row per page: the rows ahead are asked
    // for as a copy's are.
    if (y + kRowsAhead < bottom) {
      const char* ahead = reinterpret_cast<const char*>(d + static_cast<size_t>(kRowsAhead) * dest->width + left);
      for (int32_t offset = 0; offset < (right - left) * 4; offset += 64) __builtin_prefetch(ahead + offset, 1);
    }
    for (int32_t x = left; x < right; ++x) d[x] = colour;
  }
}

uint32_t ReadPixel(const Surface* picture, int32_t x, int32_t y);

void FloodFill(Surface* picture, int32_t x, int32_t y, uint32_t match, uint32_t paint) {
  SoftSurface* surface = Soft(picture);
  if (ReadPixel(surface, x, y) != match || match == paint) return;
  Touch(surface);
  surface->highBytes |= paint > kWhite;
  ScanlineFill(surface->pixels, surface->width, surface->height, x, y, match, paint);
}

uint32_t ReadPixel(const Surface* picture, int32_t x, int32_t y) {
  const SoftSurface* surface = Soft(picture);
  if (!surface || !surface->pixels || x < 0 || y < 0 || x >= surface->width ||
      y >= surface->height)
    return kInvalidColour;
  return surface->pixels[static_cast<size_t>(y) * surface->width + x];
}

}  // namespace

const SurfaceLayer kSoftSurfaceLayer = {Create,         LoadDib,       LoadOwnPixels,  Release, OpenReference,
                                        Transfer,       MaskedTransfer, MaskedReach,    Stretch, Blend,
                                        StretchMasked,  StretchedReach, Fill,           FloodFill, ReadPixel};

uint32_t* SoftSurfacePixels(Surface* picture) {
  SoftSurface* surface = Soft(picture);
  if (!surface) return nullptr;
  // Whatever is written through the pointer counts as written now.
  Touch(surface);
  surface->highBytes = true;
  return surface->pixels;
}

const uint32_t* SoftSurfacePixels(const Surface* surface) {
  return surface ? Soft(surface)->pixels : nullptr;
}

Surface* CreateSoftReference() {
  return NewSurface(0, 0, nullptr);
}

Surface* CreateSoftWindow(int32_t width, int32_t height, SoftWindowSink* sink) {
  if (width <= 0 || height <= 0 || !sink) return nullptr;
  SoftSurface* window = NewSurface(width, height, nullptr);
  if (window) window->window = sink;
  return window;
}

int32_t SoftLiveSurfaces() {
  return liveSurfaces;
}
