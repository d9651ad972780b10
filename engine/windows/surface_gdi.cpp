// The surface layer on GDI: memory contexts with bitmaps in the display's format.
#include "surface_gdi.h"

#include "byte_order.h"
#include "dib_image.h"

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

const SurfaceLayer kGdiSurfaceLayer = {Create,        LoadDib,     Release, OpenReference, Transfer, MaskedTransfer,
                                       MaskedReach,   Stretch,     MaskedStretch, MaskedReach,   Fill,     FloodFill,
                                       ReadPixel};

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
