// The surface layer: the handful of drawing operations the engine needs, with one
// implementation on GDI (Windows) and one on plain 32-bit pixel buffers (every platform). Each
// layer is a table of operations, so that both can live in one program; the program names the
// one the engine draws with, and the functions below are the engine's interface to it.
// Colours are 0x00BBGGRR.
#pragma once
#include <cstdint>

// An off-screen picture, or a drawing target the surface layer does not own (a window's
// context, a reference context). A layer's own surface starts with this part; the rest of its
// layout belongs to the layer.
struct Surface {
  int32_t width, height;
  // Made by LoadOwnPixelsSurface: its pixels carry their own alpha and are drawn only by
  // BlendSurface.
  uint8_t ownAlpha;
};

// The GDI raster-operation codes (SRCCOPY, SRCAND, SRCPAINT, SRCINVERT); named apart from
// the platform's macros so that this header can sit beside <windows.h>.
enum RasterOp : uint32_t {
  RopSrcCopy = 0x00CC0020,    // dest = src
  RopSrcAnd = 0x008800C6,     // dest = dest AND src
  RopSrcPaint = 0x00EE0086,   // dest = dest OR src
  RopSrcInvert = 0x00660046,  // dest = dest XOR src
};

const uint32_t kWhite = 0x00FFFFFF;
const uint32_t kBlack = 0x00000000;
// What ReadSurfacePixel answers outside the picture; no pixel ever has this value.
const uint32_t kInvalidColour = 0xFFFFFFFF;

// A new w x h picture in the reference's pixel format (without one, the display's), or null when
// it cannot be made.
Surface* CreateSurface(const Surface* reference, int32_t width, int32_t height);
// The picture of a frame record (packed BITMAPINFO and pixel bits), or null for a record
// that cannot be decoded safely. Never reads outside the two blocks.
Surface* LoadDibSurface(const Surface* reference, const uint8_t* header, uint32_t headerSize,
                        const uint8_t* bits, uint32_t bitsSize);
// A frame's own pixels (own_pixels.h: width * height of blue, green, red, alpha, bottom row
// first, alpha not premultiplied) as a surface that BlendSurface draws; null when it cannot be
// made, or the layer cannot blend on this system.
Surface* LoadOwnPixelsSurface(const Surface* reference, int32_t width, int32_t height, const uint8_t* pixels);
// Releases everything the surface holds; null is allowed.
void ReleaseSurface(Surface* surface);

inline int32_t SurfaceWidth(const Surface* surface) {
  return surface ? surface->width : 0;
}
inline int32_t SurfaceHeight(const Surface* surface) {
  return surface ? surface->height : 0;
}

// The context new surfaces are made compatible with once loading is over ("DISPLAY"). The
// display's image itself is the host's to give (EngineHost::captureDisplay).
Surface* OpenDisplayReference();

// The w x h rectangle of src at (sx, sy) combined into dest at (dx, dy), clipped to both;
// negative positions clip.
void TransferSurface(Surface* dest, int32_t dx, int32_t dy, int32_t width, int32_t height,
                     const Surface* src, int32_t sx, int32_t sy, RasterOp op);
// A masked picture: the w x h rectangle at (0, 0) of `mask` ANDed into dest at (dx, dy), then
// the same of `sprite` ORed into it, as the two transfers would (same pixels, same clipping), in
// one pass where the layer can. A layer may keep what it learns of an unchanged mask and sprite
// pair, so the engine passes each pair the same way round every time.
void MaskedTransferSurface(Surface* dest, int32_t dx, int32_t dy, int32_t width, int32_t height,
                           const Surface* mask, const Surface* sprite);
// The part of the w x h box of a masked transfer of the pair onto dest, as left, top, right,
// bottom within the box, outside which the transfer would leave dest's pixels as they are
// (where the mask is white over a black sprite): what a paint must later restore and present.
// The whole box where the layer cannot tell cheaply; an empty box (right = 0) when nothing changes.
// With a null mask, the same for BlendSurface of the own-pixels `sprite` at its natural size.
void MaskedTransferReach(const Surface* dest, int32_t width, int32_t height, const Surface* mask,
                         const Surface* sprite, int32_t reach[4]);
// A masked picture scaled: the whole of `mask` stretched onto dw x dh of dest at (dx, dy) and
// ANDed, then the same of `sprite` ORed, as the two StretchSurface calls would (same pixels,
// same clipping), in one pass where the layer can. The pair is passed as to
// MaskedTransferSurface.
void MaskedStretchSurface(Surface* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh, const Surface* mask,
                          const Surface* sprite);
// MaskedTransferReach for MaskedStretchSurface: the part of the dw x dh box, as left, top,
// right, bottom within it, outside which the scaled transfer leaves dest as it is.
void MaskedStretchReach(const Surface* dest, int32_t dw, int32_t dh, const Surface* mask, const Surface* sprite,
                        int32_t reach[4]);
// Scales sw x sh of src onto dw x dh of dest, one source pixel per destination pixel
// (dropped rows and columns are discarded, never blended); a size of 0 draws nothing.
void StretchSurface(Surface* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                    const Surface* src, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                    RasterOp op);
// The whole of an own-pixels surface onto dw x dh of dest at (dx, dy), clipped: each destination
// pixel takes the source pixel that StretchSurface would give it (at the natural size, its own)
// and lays it over dest, source over, in 8 bits: colour = (own colour x alpha + dest colour x
// (255 - alpha)) / 255, to within one step of rounding per channel.
void BlendSurface(Surface* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh, const Surface* src);
// Fills [left, right) x [top, bottom), clipped.
void FillSurface(Surface* dest, int32_t left, int32_t top, int32_t right, int32_t bottom,
                 uint32_t colour);
// Paints with `paint` every pixel of exactly colour `match` reachable from (x, y) through
// horizontal and vertical neighbours of that colour. Nothing happens when (x, y) lies
// outside the picture or has another colour.
void FloodFillSurface(Surface* surface, int32_t x, int32_t y, uint32_t match, uint32_t paint);
// The colour at (x, y), or kInvalidColour outside the picture.
uint32_t ReadSurfacePixel(const Surface* surface, int32_t x, int32_t y);

// What a layer does for the functions above, each operation with the contract of its function,
// for the surfaces that layer made.
struct SurfaceLayer {
  Surface* (*create)(const Surface* reference, int32_t width, int32_t height);
  Surface* (*loadDib)(const Surface* reference, const uint8_t* header, uint32_t headerSize, const uint8_t* bits,
                      uint32_t bitsSize);
  Surface* (*loadOwnPixels)(const Surface* reference, int32_t width, int32_t height, const uint8_t* pixels);
  void (*release)(Surface* surface);
  Surface* (*openDisplayReference)();
  void (*transfer)(Surface* dest, int32_t dx, int32_t dy, int32_t width, int32_t height, const Surface* src,
                   int32_t sx, int32_t sy, RasterOp op);
  void (*maskedTransfer)(Surface* dest, int32_t dx, int32_t dy, int32_t width, int32_t height, const Surface* mask,
                         const Surface* sprite);
  void (*maskedTransferReach)(const Surface* dest, int32_t width, int32_t height, const Surface* mask,
                              const Surface* sprite, int32_t reach[4]);
  void (*stretch)(Surface* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh, const Surface* src, int32_t sx,
                  int32_t sy, int32_t sw, int32_t sh, RasterOp op);
  void (*blend)(Surface* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh, const Surface* src);
  void (*maskedStretch)(Surface* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh, const Surface* mask,
                        const Surface* sprite);
  void (*maskedStretchReach)(const Surface* dest, int32_t dw, int32_t dh, const Surface* mask,
                             const Surface* sprite, int32_t reach[4]);
  void (*fill)(Surface* dest, int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour);
  void (*floodFill)(Surface* surface, int32_t x, int32_t y, uint32_t match, uint32_t paint);
  uint32_t (*readPixel)(const Surface* surface, int32_t x, int32_t y);
};

// The layer the engine draws with: named once per program, by the host that gives the engine its
// window (pixel buffers for the Linux tools and native tests, GDI for the Windows programs). A
// program may hold the other layer too and use it through its own table.
extern const SurfaceLayer& kProgramSurfaceLayer;
