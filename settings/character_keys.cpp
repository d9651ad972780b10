#include "character_keys.h"

SettingKey FrameKey(int character, int slot) {
  SettingKey key = {{static_cast<char>('A' + character), static_cast<char>('0' + slot), '\0'}};
  return key;
}

SettingKey MotionKey(int character, char axis) {
  SettingKey key = {{static_cast<char>('A' + character), axis, '\0'}};
  return key;
}
