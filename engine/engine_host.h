// What the engine needs from the saver window around it. The Windows programs supply these
// from their window (timers, the window's context, the message box, sound); tests and tools
// supply a headless twin.
#pragma once
#include <cstdint>

struct Surface;

// Starts the paint timer (id 1) and the frame timer (id 2); false when either cannot run.
bool HostStartTimers(int32_t redrawPeriod, int32_t framePeriod);
void HostStopTimers();
// The window's own context, used as reference while the characters load.
Surface* HostWindowReference();
void HostReleaseWindowReference(Surface* reference);
// After each area a paint presents: the window system may pass it on to the display now. Some
// (Wine's X11 driver among them) otherwise send one rectangle around everything drawn since the
// program last waited, which for characters spread over a large screen is nearly all of it.
void HostAreaPresented();
// Whether the given number of bytes can be had for the screen-sized buffers.
bool HostHasMemoryFor(uint64_t bytes);
// The start-up failure: the message box, then the window's destruction.
void HostStartupFailure();
// Looping sound from an in-memory wave image, and its end.
void HostPlaySound(const uint8_t* data, int32_t size);
void HostStopSound();
