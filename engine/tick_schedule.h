// The scene's two timers as one timeline in the scene's own time, so that every program that
// plays a scene (the X11 player in real time, the renderer as fast as it can, the tests) sees
// the same paints and frame changes in the same order: the same seed and the same number of
// paints then give the same picture everywhere.
#pragma once
#include <cstdint>

enum SceneTick { TickPaint, TickFrame };

struct TickSchedule {
  int64_t paintPeriod, framePeriod;  // milliseconds, as the window system would run them
  int64_t nextPaint, nextFrame;      // milliseconds since the timers started
};

// Periods as the engine asks for them. A saver window is painted as soon as it is shown, so the
// first paint is at 0; the paint ticks follow every paintPeriod, the frame ticks every
// framePeriod from framePeriod on.
void StartTickSchedule(TickSchedule* schedule, int32_t redrawPeriod, int32_t framePeriod);

// When the next tick is due.
int64_t NextTickTime(const TickSchedule* schedule);
// Takes the next tick off the timeline. When both fall due together the frame tick comes first:
// a window system handles both timer messages before the paint that one of them asks for.
SceneTick TakeNextTick(TickSchedule* schedule);
