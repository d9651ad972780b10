// The engine's surface functions, answered by the program's layer.
#include "surface.h"

Surface* CreateSurface(const Surface* reference, int32_t width, int32_t height) {
  return kProgramSurfaceLayer.create(reference, width, height);
}

Surface* LoadDibSurface(const Surface* reference, const uint8_t* header, uint32_t headerSize,
                        const uint8_t* bits, uint32_t bitsSize) {
  return kProgramSurfaceLayer.loadDib(reference, header, headerSize, bits, bitsSize);
}

Surface* LoadOwnPixelsSurface(const Surface* reference, int32_t width, int32_t height, const uint8_t* pixels) {
  return kProgramSurfaceLayer.loadOwnPixels(reference, width, height, pixels);
}

void BlendSurface(Surface* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh, const Surface* src) {
  kProgramSurfaceLayer.blend(dest, dx, dy, dw, dh, src);
}

void ReleaseSurface(Surface* surface) {
  kProgramSurfaceLayer.release(surface);
}

Surface* OpenDisplayReference() {
  return kProgramSurfaceLayer.openDisplayReference();
}

void TransferSurface(Surface* dest, int32_t dx, int32_t dy, int32_t width, int32_t height,
                     const Surface* src, int32_t sx, int32_t sy, RasterOp op) {
  kProgramSurfaceLayer.transfer(dest, dx, dy, width, height, src, sx, sy, op);
}

void MaskedTransferSurface(Surface* dest, int32_t dx, int32_t dy, int32_t width, int32_t height,
                           const Surface* mask, const Surface* sprite) {
  kProgramSurfaceLayer.maskedTransfer(dest, dx, dy, width, height, mask, sprite);
}

void MaskedTransferReach(const Surface* dest, int32_t width, int32_t height, const Surface* mask,
                         const Surface* sprite, int32_t reach[4]) {
  kProgramSurfaceLayer.maskedTransferReach(dest, width, height, mask, sprite, reach);
}

void StretchSurface(Surface* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                    const Surface* src, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                    RasterOp op) {
  kProgramSurfaceLayer.stretch(dest, dx, dy, dw, dh, src, sx, sy, sw, sh, op);
}

void MaskedStretchSurface(Surface* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh, const Surface* mask,
                          const Surface* sprite) {
  kProgramSurfaceLayer.maskedStretch(dest, dx, dy, dw, dh, mask, sprite);
}

void MaskedStretchReach(const Surface* dest, int32_t dw, int32_t dh, const Surface* mask, const Surface* sprite,
                        int32_t reach[4]) {
  kProgramSurfaceLayer.maskedStretchReach(dest, dw, dh, mask, sprite, reach);
}

void FillSurface(Surface* dest, int32_t left, int32_t top, int32_t right, int32_t bottom,
                 uint32_t colour) {
  kProgramSurfaceLayer.fill(dest, left, top, right, bottom, colour);
}

void FloodFillSurface(Surface* surface, int32_t x, int32_t y, uint32_t match, uint32_t paint) {
  kProgramSurfaceLayer.floodFill(surface, x, y, match, paint);
}

uint32_t ReadSurfacePixel(const Surface* surface, int32_t x, int32_t y) {
  return kProgramSurfaceLayer.readPixel(surface, x, y);
}
