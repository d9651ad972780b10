// What the engine needs from the saver window around it, as a table of operations: each host
// fills one in at the start of a struct that holds its own state, and the scene hands it back on
// every call, so that hosts never share state and several scenes can play in one process. The
// Windows programs answer from their window (timers, the window's context, the desktop, the
// message box, sound); tests and tools answer with a headless twin.
#pragma once
#include <cstdint>

struct Surface;

struct EngineHost {
  // Starts the paint timer (id 1) and the frame timer (id 2); false when either cannot run.
  bool (*startTimers)(EngineHost* host, int32_t redrawPeriod, int32_t framePeriod);
  void (*stopTimers)(EngineHost* host);
  // The window's own context, used as reference while the characters load.
  Surface* (*windowReference)(EngineHost* host);
  void (*releaseWindowReference)(EngineHost* host, Surface* reference);
  // Copies the display's current image, from (left, top) of the display on, into dest: the
  // desktop that shows where the scene paints no background.
  void (*captureDisplay)(EngineHost* host, Surface* dest, int32_t left, int32_t top);
  // Between the groups of areas a paint presents: the window system may pass on to the display
  // what was drawn so far. Some (Wine's X11 driver among them) otherwise send one rectangle
  // around everything drawn since the program last waited, which for characters spread over a
  // large screen is nearly all of it. The host's wait for its next message after the paint
  // stands for the moment after the last group.
  void (*areaPresented)(EngineHost* host);
  // Whether the given number of bytes can be had for the screen-sized buffers.
  bool (*hasMemoryFor)(EngineHost* host, uint64_t bytes);
  // The start-up failure: the message box, then the window's destruction.
  void (*startupFailure)(EngineHost* host);
  // Looping sound from an in-memory wave image, and its end.
  void (*playSound)(EngineHost* host, const uint8_t* data, int32_t size);
  void (*stopSound)(EngineHost* host);
  // Asked between the wallpaper's bands as the scene loads over a background of one colour:
  // true when the first picture is due now, the colour alone, and the rest of the wallpaper is
  // to come between paints (ContinueWallpaper). Asked too between the pieces of a sound being
  // decoded, which then starts later (ContinueSound). Null: the wallpaper is always in the first
  // picture, and the sound starts with it.
  bool (*firstPictureDue)(EngineHost* host);
};
