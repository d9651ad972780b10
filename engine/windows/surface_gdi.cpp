// The surface layer on GDI: memory contexts with bitmaps in the display's format.
#include "surface_gdi.h"

#include "byte_order.h"
#include "dib_image.h"
#include "own_pixels_blend.h"

namespace {

GdiSurface* NewSurface() {
  return static_cast<GdiSurface*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(GdiSurface)));
}

HDC ContextOf(const GdiSurface* surface) {
  return surface ? surface->context : nullptr;
}

// A new memory context holding `bitmap`; false (nothing kept) when the context fails.
bool Attach(GdiSurface* surface, const GdiSurface* reference, HBITMAP bitmap) {
  surface->context = CreateCompatibleDC(ContextOf(reference));
  if (!surface->context) return false;
  surface->bitmap = bitmap;
  surface->previous = SelectObject(surface->context, bitmap);
  BITMAP info;
  if (GetObjectA(bitmap, sizeof info, &info)) {
    surface->width = info.bmWidth;
    surface->height = info.bmHeight;
  }
  return true;
}

Surface* Create(const Surface* referenceSurface, int32_t width, int32_t height) {
  const GdiSurface* reference = AsGdiSurface(referenceSurface);
  if (width <= 0 || height <= 0) return nullptr;
  GdiSurface* surface = NewSurface();
  if (!surface) return nullptr;
  // Without a reference the picture takes the display's format, not a memory context's
  // one-bit default.
  HDC screen = reference ? nullptr : GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(reference ? reference->context : screen, width, height);
  if (screen) ReleaseDC(nullptr, screen);
  if (!bitmap || !Attach(surface, reference, bitmap)) {
    if (bitmap) DeleteObject(bitmap);
    HeapFree(GetProcessHeap(), 0, surface);
    return nullptr;
  }
  return surface;
}

Surface* LoadDib(const Surface* reference, const uint8_t* header, uint32_t, const uint8_t* bits, uint32_t) {
  // The record has passed DibRecordFits: the colour table and the pixel rows lie inside the
  // two blocks, so GDI reads nothing beyond them.
  const int32_t width = ReadI32LE(header + 4);
  const int32_t stored = ReadI32LE(header + 8);
  const int32_t height = stored < 0 ? -stored : stored;
  const uint32_t count = DibColourCount(ReadU32LE(header + 32), ReadU16LE(header + 14));

  // The picture reaches the display's format through the record's own colours.
  const SIZE_T paletteBytes = sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY);
  LOGPALETTE* logical =
      static_cast<LOGPALETTE*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, paletteBytes));
  if (!logical) return nullptr;
  logical->palVersion = 0x300;
  logical->palNumEntries = static_cast<WORD>(count);
  for (uint32_t k = 0; k < count; ++k) {
    const uint8_t* entry = header + 40 + 4 * k;
    logical->palPalEntry[k].peRed = entry[2];
    logical->palPalEntry[k].peGreen = entry[1];
    logical->palPalEntry[k].peBlue = entry[0];
  }
  HPALETTE palette = CreatePalette(logical);
  HeapFree(GetProcessHeap(), 0, logical);

  GdiSurface* surface = AsGdiSurface(Create(reference, width, height));
  if (surface) {
    HPALETTE old = palette ? SelectPalette(surface->context, palette, TRUE) : nullptr;
    if (palette) RealizePalette(surface->context);
    SetDIBitsToDevice(surface->context, 0, 0, width, height, 0, 0, 0, height, bits,
                      reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS);
    if (old) SelectPalette(surface->context, old, TRUE);
  }
  if (palette) DeleteObject(palette);
  return surface;
}

// A 32-bit DIB section, bottom-up for a positive height; its pixels in *pixels.
HBITMAP NewSection(int32_t width, int32_t height, uint32_t** pixels) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  *pixels = static_cast<uint32_t*>(bits);
  return section;
}

// GDI's blend, which the systems before Windows 2000 lack: looked up, so that the programs still
// start there, and a frame with its own alpha is then drawn from its key-colour rows, as a player
// that knows nothing of alpha draws it.
typedef BOOL(WINAPI* AlphaBlendCall)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);

AlphaBlendCall FindAlphaBlend() {
  HMODULE gdi = GetModuleHandleA("gdi32.dll");
  return gdi ? reinterpret_cast<AlphaBlendCall>(reinterpret_cast<void*>(GetProcAddress(gdi, "GdiAlphaBlend")))
             : nullptr;
}

// GDI blends only premultiplied 32-bit pictures, so a frame with its own alpha is kept as one,
// whatever the display's format.
Surface* LoadOwnPixels(const Surface* reference, int32_t width, int32_t height, const uint8_t* stored) {
  if (width <= 0 || height <= 0 || !FindAlphaBlend()) return nullptr;
  GdiSurface* surface = NewSurface();
  if (!surface) return nullptr;
  uint32_t* pixels = nullptr;
  HBITMAP section = NewSection(width, height, &pixels);
  if (!section || !Attach(surface, AsGdiSurface(reference), section)) {
    if (section) DeleteObject(section);
    HeapFree(GetProcessHeap(), 0, surface);
    return nullptr;
  }
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  for (size_t i = 0; i < count; ++i, stored += 4) pixels[i] = PremultipliedPixel(stored, true);
  surface->pixels = pixels;
  surface->ownAlpha = 1;
  return surface;
}

void Release(Surface* released) {
  GdiSurface* surface = AsGdiSurface(released);
  if (!surface) return;
  if (surface->window) {
    ReleaseDC(surface->window, surface->context);
  } else if (surface->bitmap) {
    SelectObject(surface->context, surface->previous);
    DeleteDC(surface->context);
    DeleteObject(surface->bitmap);
  } else if (surface->context) {
    DeleteDC(surface->context);
  }
  HeapFree(GetProcessHeap(), 0, surface);
}

Surface* OpenReference() {
  GdiSurface* surface = NewSurface();
  if (surface) surface->context = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
  return surface;
}

void Capture(Surface* target, int32_t left, int32_t top) {
  GdiSurface* dest = AsGdiSurface(target);
  // The screen's context spans the virtual screen, in the same coordinates as the monitors.
  HDC screen = GetDC(nullptr);
  BitBlt(dest->context, 0, 0, dest->width, dest->height, screen, left, top, SRCCOPY);
  ReleaseDC(nullptr, screen);
}

void Transfer(Surface* target, int32_t dx, int32_t dy, int32_t width, int32_t height, const Surface* source,
              int32_t sx, int32_t sy, RasterOp op) {
  GdiSurface* dest = AsGdiSurface(target);
  const GdiSurface* src = AsGdiSurface(source);
  if (!dest || !src) return;
  BitBlt(dest->context, dx, dy, width, height, src->context, sx, sy, op);
}

// GDI has no raster operation with two sources; its two transfers are the definition.
void MaskedTransfer(Surface* dest, int32_t dx, int32_t dy, int32_t width, int32_t height, const Surface* mask,
                    const Surface* sprite) {
  Transfer(dest, dx, dy, width, height, mask, 0, 0, RopSrcAnd);
  Transfer(dest, dx, dy, width, height, sprite, 0, 0, RopSrcPaint);
}

// Finding where a mask is white would mean reading it back: the whole box may change.
void MaskedReach(const Surface*, int32_t width, int32_t height, const Surface*, const Surface*, int32_t reach[4]) {
  reach[0] = reach[1] = 0;
  reach[2] = width;
  reach[3] = height;
}

void Stretch(Surface* target, int32_t dx, int32_t dy, int32_t dw, int32_t dh, const Surface* source, int32_t sx,
             int32_t sy, int32_t sw, int32_t sh, RasterOp op) {
  GdiSurface* dest = AsGdiSurface(target);
  const GdiSurface* src = AsGdiSurface(source);
  if (!dest || !src || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  // AND-combining dropped pixels gives wrong colours and loses small sprites when shrinking.
  SetStretchBltMode(dest->context, COLORONCOLOR);
  StretchBlt(dest->context, dx, dy, dw, dh, src->context, sx, sy, sw, sh, op);
}

// At its natural size GDI blends the picture itself; scaled, the visible part is first sampled
// as the pixel buffers sample it, since GDI's own stretching in a blend need not pick the same
// pixels.
void Blend(Surface* target, int32_t dx, int32_t dy, int32_t dw, int32_t dh, const Surface* source) {
  GdiSurface* dest = AsGdiSurface(target);
  const GdiSurface* src = AsGdiSurface(source);
  const AlphaBlendCall alphaBlend = FindAlphaBlend();
  if (!dest || !src || !src->pixels || !alphaBlend || dw <= 0 || dh <= 0) return;
  const int64_t left = dx < 0 ? 0 : dx, top = dy < 0 ? 0 : dy;
  const int64_t right = static_cast<int64_t>(dx) + dw < dest->width ? static_cast<int64_t>(dx) + dw : dest->width;
  const int64_t bottom = static_cast<int64_t>(dy) + dh < dest->height ? static_cast<int64_t>(dy) + dh : dest->height;
  if (left >= right || top >= bottom) return;
  const int32_t width = static_cast<int32_t>(right - left), height = static_cast<int32_t>(bottom - top);
  const BLENDFUNCTION over = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  if (dw == src->width && dh == src->height) {
    alphaBlend(dest->context, static_cast<int>(left), static_cast<int>(top), width, height, src->context,
               static_cast<int>(left - dx), static_cast<int>(top - dy), width, height, over);
    return;
  }
  uint32_t* sampled = nullptr;
  HBITMAP section = NewSection(width, -height, &sampled);
  HDC context = section ? CreateCompatibleDC(dest->context) : nullptr;
  if (context) {
    for (int32_t y = 0; y < height; ++y) {
      const int32_t v = SampledSource(top + y - dy, dh, src->height);
      const uint32_t* row = src->pixels + static_cast<size_t>(src->height - 1 - v) * src->width;
      uint32_t* out = sampled + static_cast<size_t>(y) * width;
      for (int32_t x = 0; x < width; ++x) out[x] = row[SampledSource(left + x - dx, dw, src->width)];
    }
    HGDIOBJ previous = SelectObject(context, section);
    alphaBlend(dest->context, static_cast<int>(left), static_cast<int>(top), width, height, context, 0, 0, width,
               height, over);
    SelectObject(context, previous);
    DeleteDC(context);
  }
  if (section) DeleteObject(section);
}

void MaskedStretch(Surface* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh, const Surface* mask,
                   const Surface* sprite) {
  Stretch(dest, dx, dy, dw, dh, mask, 0, 0, SurfaceWidth(mask), SurfaceHeight(mask), RopSrcAnd);
  Stretch(dest, dx, dy, dw, dh, sprite, 0, 0, SurfaceWidth(mask), SurfaceHeight(mask), RopSrcPaint);
}

void Fill(Surface* target, int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour) {
  GdiSurface* dest = AsGdiSurface(target);
  if (!dest) return;
  HBRUSH brush = CreateSolidBrush(colour);
  RECT area = {left, top, right, bottom};
  FillRect(dest->context, &area, brush);
  DeleteObject(brush);
}

void FloodFill(Surface* picture, int32_t x, int32_t y, uint32_t match, uint32_t paint) {
  GdiSurface* surface = AsGdiSurface(picture);
  if (!surface) return;
  HBRUSH brush;
  bool stock = paint == kWhite || paint == kBlack;
  brush = stock ? static_cast<HBRUSH>(GetStockObject(paint == kWhite ? WHITE_BRUSH : BLACK_BRUSH))
                : CreateSolidBrush(paint);
  HGDIOBJ previous = SelectObject(surface->context, brush);
  ExtFloodFill(surface->context, x, y, match, FLOODFILLSURFACE);
  SelectObject(surface->context, previous);
  if (!stock) DeleteObject(brush);
}

uint32_t ReadPixel(const Surface* picture, int32_t x, int32_t y) {
  const GdiSurface* surface = AsGdiSurface(picture);
  if (!surface || x < 0 || y < 0 || x >= surface->width || y >= surface->height)
    return kInvalidColour;
  return GetPixel(surface->context, x, y);
}

}  // namespace

const SurfaceLayer kGdiSurfaceLayer = {Create,   LoadDib,        LoadOwnPixels, Release,       OpenReference,
                                       Transfer, MaskedTransfer, MaskedReach,   Stretch,       Blend,
                                       MaskedStretch, MaskedReach, Fill,        FloodFill,     ReadPixel};

void CaptureDisplay(Surface* dest, int32_t left, int32_t top) {
  Capture(dest, left, top);
}

Surface* WindowSurface(HWND window) {
  GdiSurface* surface = NewSurface();
  if (!surface) return nullptr;
  surface->context = GetDC(window);
  surface->window = window;
  RECT area;
  if (GetClientRect(window, &area)) {
    surface->width = area.right;
    surface->height = area.bottom;
  }
  return surface;
}
