// The engine's host for in-process GDI tests: no window, the display as reference, the screen
// as the desktop; it notes the timers asked for and the start-up failures.
#pragma once
#include <cstdint>

#include "engine_host.h"

struct GdiTestHost {
  EngineHost base;
  int startupFailures;
  int32_t redrawPeriod, framePeriod;
};

void OpenGdiTestHost(GdiTestHost* host);
