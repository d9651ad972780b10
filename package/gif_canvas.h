// Composition of an animated GIF's frames as a viewer shows them: each frame is a rectangle of
// colour indices placed on the logical screen, and what it leaves behind for the next frame is
// decided by its disposal method. Both platforms' decoders hand their raw frames to this one
// piece, so that a GIF gives the same pixels whichever codec read it.
#pragma once
#include <cstdint>

enum GifDisposal {
  GifKeep = 1,             // 0 and 1, and the undefined values 4 to 7: the frame stays
  GifClearToTransparent = 2,
  GifRestorePrevious = 3
};

// One frame as the file stores it.
struct GifFrameRaster {
  int32_t left, top, width, height;  // may reach beyond the screen; the outside is not drawn
  const uint8_t* indices;            // width * height, top row first, interlacing undone
  const uint8_t* colours;            // the frame's colour table (local, else global): RGB triples
  uint32_t colourCount;
  int32_t transparentIndex;          // -1 when the frame has none
  int disposal;                      // as the file gives it, 0 to 7
};

struct GifCanvas {
  int32_t width, height;
  uint8_t* rgba;   // the screen now, R, G, B, A; owned
  uint8_t* saved;  // the screen before the last frame, for "restore previous"; owned, made on demand
  // What the last frame asked to be done before the next is drawn.
  int32_t pendingLeft, pendingTop, pendingRight, pendingBottom;
  int pendingDisposal;
  uint8_t* indices;  // room for the current frame's colour indices; owned
};

// The screen starts fully transparent, as viewers show it. False when there is no memory.
bool OpenGifCanvas(GifCanvas* canvas, int32_t width, int32_t height);
// Room for the colour indices of the next frame (width * height bytes), once a frame of pixels
// has passed the size caps; the room is the canvas's until the next frame asks or it closes.
// Null, with a reason, for a frame beyond the caps or when memory ran out.
uint8_t* GifFrameIndices(GifCanvas* canvas, int64_t width, int64_t height, const char** why);
// Applies the previous frame's disposal, draws this one and copies the screen into out
// (width * height * 4 bytes). False only when the memory for "restore previous" is missing.
bool DrawGifFrame(GifCanvas* canvas, const GifFrameRaster& frame, uint8_t* out);
// A canvas of all zeros (never opened, or closed already) may be closed too.
void CloseGifCanvas(GifCanvas* canvas);
