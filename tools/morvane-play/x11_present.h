// Puts the engine's pixels on an X window: converted to the window's true-colour format into an
// image shared with the server (MIT-SHM) when the server offers it and can attach it, else into
// an image sent with XPutImage. Only the rectangles the engine presents travel.
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
  int pending;         // shared puts the server has not finished reading
  bool waitBeforeWriting;
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
// The end of one picture: later writes into the shared image wait for the server to read it.
void FlushX11Present(X11Present* present);
void CloseX11Present(X11Present* present);
