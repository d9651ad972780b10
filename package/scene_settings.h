// Where each scene value comes from in the settings: the section, key and default that the
// package builder and the designer's playback both read, so that a packaged saver and the
// designer playing the same settings can never disagree about them.
#pragma once
#include "package_records.h"
#include "picture_transparency.h"
#include "settings_store.h"

// "Initial": Timer1, Timer2 and Crear (its low byte).
TimingRecord ReadTimingSettings(SettingsStore* store);

// The motion of character 0 to 19 (letters A to T): "Speed", "Pattern" and "Visible" keys of
// the character's letter; one-byte fields keep the low byte.
MotionRecord ReadMotionSettings(SettingsStore* store, int character);

// "BackGround": Erase, ColorR, ColorG, ColorB, BmpOpt1 and BmpOpt2.
BackgroundRecord ReadBackgroundSettings(SettingsStore* store);

// How transparent pixels of decoded pictures are written: keyed for the player's masks in the
// frames of a scene with transparent sprites, else (and in the wallpaper) in the background
// colour, black when the scene has none. Reads "BackGround" Erase and the three colours.
PictureLook ReadPictureLook(SettingsStore* store, const TimingRecord& timing, bool sprite);
