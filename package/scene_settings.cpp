#include "scene_settings.h"

#include "character_keys.h"

TimingRecord ReadTimingSettings(SettingsStore* store) {
  TimingRecord timing;
  timing.redrawPeriod = ReadIntegerSetting(store, "Initial", "Timer1", "50");
  timing.frameMultiplier = ReadIntegerSetting(store, "Initial", "Timer2", "10");
  timing.transparent = static_cast<uint8_t>(ReadIntegerSetting(store, "Initial", "Crear", "0"));
  return timing;
}

MotionRecord ReadMotionSettings(SettingsStore* store, int character) {
  const SettingKey keyX = MotionKey(character, 'X'), keyY = MotionKey(character, 'Y');
  const SettingKey keyZ = MotionKey(character, 'Z'), keyA = MotionKey(character, 'A');
  const char *x = keyX.text, *y = keyY.text, *z = keyZ.text, *a = keyA.text;
  MotionRecord motion;
  motion.speedX = ReadIntegerSetting(store, "Speed", x, "10");
  motion.speedY = ReadIntegerSetting(store, "Speed", y, "10");
  motion.speedDepth = ReadIntegerSetting(store, "Speed", z, "10");
  motion.frameStep = ReadIntegerSetting(store, "Speed", a, "1");
  motion.bounceX = static_cast<uint8_t>(ReadIntegerSetting(store, "Pattern", x, "1"));
  motion.bounceY = static_cast<uint8_t>(ReadIntegerSetting(store, "Pattern", y, "1"));
  motion.bounceDepth = static_cast<uint8_t>(ReadIntegerSetting(store, "Pattern", z, "1"));
  motion.pingPong = static_cast<uint8_t>(ReadIntegerSetting(store, "Pattern", a, "0"));
  motion.visibleRate = static_cast<uint8_t>(ReadIntegerSetting(store, "Visible", a, "10"));
  return motion;
}

BackgroundRecord ReadBackgroundSettings(SettingsStore* store) {
  BackgroundRecord background;
  background.noColour = ReadIntegerSetting(store, "BackGround", "Erase", "0");
  background.red = ReadIntegerSetting(store, "BackGround", "ColorR", "0");
  background.green = ReadIntegerSetting(store, "BackGround", "ColorG", "0");
  background.blue = ReadIntegerSetting(store, "BackGround", "ColorB", "0");
  background.wallpaper = ReadIntegerSetting(store, "BackGround", "BmpOpt1", "0");
  background.stretch = ReadIntegerSetting(store, "BackGround", "BmpOpt2", "0");
  return background;
}

PictureLook ReadPictureLook(SettingsStore* store, const TimingRecord& timing, bool sprite) {
  BackgroundRecord background = ReadBackgroundSettings(store);
  PictureLook look;
  look.transparentSprites = sprite && timing.transparent != 0;
  look.backgroundColour = background.noColour != 0
                              ? 0
                              : static_cast<uint32_t>(static_cast<uint8_t>(background.red)) |
                                    (static_cast<uint32_t>(static_cast<uint8_t>(background.green)) << 8) |
                                    (static_cast<uint32_t>(static_cast<uint8_t>(background.blue)) << 16);
  return look;
}
