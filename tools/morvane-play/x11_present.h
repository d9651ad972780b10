// Puts the engine's pixels on an X window: converted to the window's true-colour format into an
// image shared with the server (MIT-SHM) when the server offers it and can attach it, else into
// an image sent with XPutImage. The image, as large as the window, serves as a staging area:
// each rectangle lies in it packed at its own width. Only the rectangles the engine presents travel, and those that
// overlap (a character's box before and after its step) travel as one, at the end of the picture.
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
  int completionType;  // the event type of XShmCompletionEvent; 0 without MIT-SHM
  int pending;         // completions of shared puts still to come (one per picture)
  bool waitBeforeWriting;
  // Rectangles not yet sent: [left, right) x [top, bottom). Those with a source are converted
  // from it when sent (the engine's work buffer, which holds still until the next picture);
  // the others were converted when they came.
  struct Area {
    int32_t left, top, right, bottom;
    const uint32_t* source;  // the pixel of the source that belongs at the window's (0, 0)
    int32_t stride;
    size_t offset;  // where its converted pixels start in the image, packed at its own width
  } unsent[64];
  int unsentCount;
  size_t used;  // pixels of the image that hold this picture's converted rectangles
};

// Whether the visual can be drawn on: true colour, depth 24 or 32, 8 bits per channel, 32 bits
// per pixel. False with a one-line reason otherwise.
bool CheckPresentVisual(Display* display, Visual* visual, int depth, std::string* problem);

// Sets up the conversion and an image of the window's size. False when no image can be made.
bool OpenX11Present(X11Present* present, Display* display, Window window, Visual* visual, int depth,
                    int32_t width, int32_t height);
// A new image for a new window size.
bool ResizeX11Present(X11Present* present, int32_t width, int32_t height);
// An event the window loop read: counts finished shared puts.
void NoteX11PresentEvent(X11Present* present, const XEvent& event);
// The end of one picture: sends what was converted; later writes into the shared image wait for
// the server to have read it.
void FlushX11Present(X11Present* present);
void CloseX11Present(X11Present* present);
