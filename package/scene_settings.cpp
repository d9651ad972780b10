#include "scene_settings.h"

#include "setting_table.h"

TimingRecord ReadTimingSettings(SettingsStore* store) {
  TimingRecord timing;
  timing.redrawPeriod = ReadSettingNumber(store, kRedrawPeriod);
  timing.frameMultiplier = ReadSettingNumber(store, kFrameMultiplier);
  timing.transparent = static_cast<uint8_t>(ReadSettingNumber(store, kTransparency));
  return timing;
}

MotionRecord ReadMotionSettings(SettingsStore* store, int character) {
  MotionRecord motion;
  motion.speedX = ReadSettingNumber(store, kSpeedX, character);
  motion.speedY = ReadSettingNumber(store, kSpeedY, character);
  motion.speedDepth = ReadSettingNumber(store, kSpeedDepth, character);
  motion.frameStep = ReadSettingNumber(store, kFrameStep, character);
  motion.bounceX = static_cast<uint8_t>(ReadSettingNumber(store, kBounceX, character));
  motion.bounceY = static_cast<uint8_t>(ReadSettingNumber(store, kBounceY, character));
  motion.bounceDepth = static_cast<uint8_t>(ReadSettingNumber(store, kBounceDepth, character));
  motion.pingPong = static_cast<uint8_t>(ReadSettingNumber(store, kPingPong, character));
  motion.visibleRate = static_cast<uint8_t>(ReadSettingNumber(store, kAppearanceRate, character));
  return motion;
}

BackgroundRecord ReadBackgroundSettings(SettingsStore* store) {
  BackgroundRecord background;
  background.noColour = ReadSettingNumber(store, kNoColour);
  background.red = ReadSettingNumber(store, kColourRed);
  background.green = ReadSettingNumber(store, kColourGreen);
  background.blue = ReadSettingNumber(store, kColourBlue);
  background.wallpaper = ReadSettingNumber(store, kWallpaperShown);
  background.stretch = ReadSettingNumber(store, kWallpaperStretched);
  return background;
}

PictureLook ReadPictureLook(SettingsStore* store, const TimingRecord& timing, bool sprite) {
  BackgroundRecord background = ReadBackgroundSettings(store);
  PictureLook look;
  look.transparentSprites = sprite && timing.transparent != 0;
  look.ownAlpha = sprite;
  look.backgroundColour = background.noColour != 0
                              ? 0
                              : static_cast<uint32_t>(static_cast<uint8_t>(background.red)) |
                                    (static_cast<uint32_t>(static_cast<uint8_t>(background.green)) << 8) |
                                    (static_cast<uint32_t>(static_cast<uint8_t>(background.blue)) << 16);
  return look;
}
