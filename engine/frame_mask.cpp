#include "engine.h"
#include "surface.h"

void PrepareFrameMask(FrameSurface* frame, const Surface* reference) {
  Surface* sprite = frame->sprite;
  const int32_t w = frame->width;
  const int32_t h = frame->height;

  // The corner area is turned white first so that the mask pass below needs only one
  // starting colour; a white figure area touching it joins the transparent area.
  if (ReadSurfacePixel(sprite, 0, 0) != kWhite) {
    FloodFillSurface(sprite, 0, 0, ReadSurfacePixel(sprite, 0, 0), kWhite);
  }

  Surface* mask = CreateSurface(reference, w, h);
  if (!mask) {
    // Without a mask the frame is drawn as an opaque rectangle, as without transparency.
    frame->hasMask = 0;
    return;
  }
  TransferSurface(mask, 0, 0, w, h, sprite, 0, 0, RopSrcCopy);
  frame->hasMask = 1;
  frame->mask = mask;

  FloodFillSurface(mask, 0, 0, ReadSurfacePixel(mask, 0, 0), kBlack);
  // Black XOR white is white on the corner area; a colour XOR itself is black everywhere else.
  TransferSurface(mask, 0, 0, w, h, sprite, 0, 0, RopSrcInvert);
  FloodFillSurface(sprite, 0, 0, ReadSurfacePixel(sprite, 0, 0), kBlack);
}
