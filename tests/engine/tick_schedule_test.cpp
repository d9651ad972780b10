// The scene's two timers as one timeline: the order every player and the renderer follow.
#include <gtest/gtest.h>

#include <string>

#include "tick_schedule.h"

namespace {

// The ticks up to `until` as letters: P paint, F frame, with their times.
std::string Timeline(int32_t redraw, int32_t frame, int64_t until) {
  TickSchedule schedule;
  StartTickSchedule(&schedule, redraw, frame);
  std::string out;
  while (NextTickTime(&schedule) <= until) {
    const int64_t at = NextTickTime(&schedule);
    out += (TakeNextTick(&schedule) == TickPaint ? "P" : "F") + std::to_string(at) + " ";
  }
  return out;
}

TEST(TickSchedule, PaintsFromTheStartFramesFirstOnTies) {
  EXPECT_EQ(Timeline(50, 150, 300), "P0 P50 P100 F150 P150 P200 P250 F300 P300 ");
  EXPECT_EQ(Timeline(40, 100, 200), "P0 P40 P80 F100 P120 P160 F200 P200 ");
}

TEST(TickSchedule, PeriodsAsWindowTimersKeepThem) {
  // Below 10 ms a window timer runs every 10 ms; a negative period is a huge unsigned one.
  EXPECT_EQ(Timeline(0, 3, 20), "P0 F10 P10 F20 P20 ");
  EXPECT_EQ(Timeline(-5, 50, 100), "P0 F50 F100 ");
  TickSchedule schedule;
  StartTickSchedule(&schedule, 20, -1);
  EXPECT_EQ(schedule.framePeriod, 0x7FFFFFFF);
  EXPECT_EQ(schedule.paintPeriod, 20);
}

}  // namespace
