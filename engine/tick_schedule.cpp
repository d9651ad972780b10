#include "tick_schedule.h"

namespace {

// Window timers take their period as an unsigned count of milliseconds and keep it between
// these two bounds; a negative period from a damaged scene thus becomes the longest one.
const int64_t kShortestTimer = 10;
const int64_t kLongestTimer = 0x7FFFFFFF;

int64_t TimerPeriod(int32_t requested) {
  int64_t period = static_cast<uint32_t>(requested);
  if (period < kShortestTimer) return kShortestTimer;
  if (period > kLongestTimer) return kLongestTimer;
  return period;
}

}  // namespace

void StartTickSchedule(TickSchedule* schedule, int32_t redrawPeriod, int32_t framePeriod) {
  schedule->paintPeriod = TimerPeriod(redrawPeriod);
  schedule->framePeriod = TimerPeriod(framePeriod);
  schedule->nextPaint = 0;
  schedule->nextFrame = schedule->framePeriod;
}

int64_t NextTickTime(const TickSchedule* schedule) {
  return schedule->nextFrame <= schedule->nextPaint ? schedule->nextFrame : schedule->nextPaint;
}

SceneTick TakeNextTick(TickSchedule* schedule) {
  if (schedule->nextFrame <= schedule->nextPaint) {
    schedule->nextFrame += schedule->framePeriod;
    return TickFrame;
  }
  schedule->nextPaint += schedule->paintPeriod;
  return TickPaint;
}
