// Puts the engine's pixels on an X window: converted to the window's true-colour format into an
// image shared with the server (MIT-SHM) when the server offers it and can attach it, else into
// an image sent with XPutImage. The image, a few megabytes whatever the window's size, serves as
// a staging ring: each rectangle lies in it packed at its own width, one larger than the ring in
// bands of rows. Only the rectangles the engine presents travel, and those that overlap (a
// character's box before and after its step) travel as one, at the end of the picture.
#pragma once
#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstdint>
#include <string>

#include "surface_soft.h"

struct X11Present {
  SoftWindowSink sink;  // first: the soft window surface calls back through it
  Display* display;
  Window window;
  GC gc;
  Visual* visual;
  int depth;
  int32_t width, height;
  uint32_t redShift, greenShift, blueShift;
  bool swapBytes;  // the server wants the other byte order
  XImage* image;
  bool shared;
  XShmSegmentInfo segment;
  bool offersShm;
  // Copies of the engine's work buffer not yet sent: [left, right) x [top, bottom), converted
  // from the source when sent (the buffer holds still until the next picture).
  struct Area {
    int32_t left, top, right, bottom;
    const uint32_t* source;  // the pixel of the source that belongs at the window's (0, 0)
    int32_t stride;
  } unsent[64];
  int unsentCount;
  size_t used;  // where the next converted rectangle goes in the image (a ring), in pixels
};

// Whether the visual can be drawn on: true colour, depth 24 or 32, 8 bits per channel, 32 bits
// per pixel. False with a one-line reason otherwise.
bool CheckPresentVisual(Display* display, Visual* visual, int depth, std::string* problem);

// Sets up the conversion and an image of the window's size. False when no image can be made.
bool OpenX11Present(X11Present* present, Display* display, Window window, Visual* visual, int depth,
                    int32_t width, int32_t height);
// A new image for a new window size.
bool ResizeX11Present(X11Present* present, int32_t width, int32_t height);
// The end of one picture: converts and sends what waited.
void FlushX11Present(X11Present* present);
void CloseX11Present(X11Present* present);
