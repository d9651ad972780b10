// Setting keys of the twenty characters: the letter "A" to "T" for characters 0 to 19, then
// the frame slot digit ("A0" ... "T9") or the axis letter ("AX", "AY", "AZ", "AA").
#pragma once
#include "settings_limits.h"

struct SettingKey {
  char text[3];
};

SettingKey FrameKey(int character, int slot);
// axis: 'X', 'Y', 'Z' or 'A'.
SettingKey MotionKey(int character, char axis);
