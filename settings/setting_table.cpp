#include "setting_table.h"

#include <cstring>

#include "settings_store.h"
#include "settings_value.h"

namespace {

const SettingId kFixed = kSettingCount;

// In SettingId order.
const SettingDefinition kSettings[kSettingCount] = {
    {"Module", "MName", WholeKey, PathValue, "", 0, 0, kFixed, kFixed, "file name of the saver Create writes"},
    {"Module", "Memo1", WholeKey, TextValue, "", 0, 0, kFixed, kFixed, "comment line 1, shown by the saver's settings"},
    {"Module", "Memo2", WholeKey, TextValue, "", 0, 0, kFixed, kFixed, "comment line 2"},
    {"Module", "Memo3", WholeKey, TextValue, "", 0, 0, kFixed, kFixed, "comment line 3"},
    {"Module", "Memo4", WholeKey, TextValue, "", 0, 0, kFixed, kFixed, "comment line 4"},
    {"Module", "Memo5", WholeKey, TextValue, "", 0, 0, kFixed, kFixed, "comment line 5"},
    {"Initial", "Timer1", WholeKey, IntegerValue, "50", 0, 0, kFixed, kFixed,
     "milliseconds from one picture to the next"},
    {"Initial", "Timer2", WholeKey, IntegerValue, "10", 0, 0, kFrameChangeLowest, kFrameChangeHighest,
     "pictures from one frame change to the next (the animation speed slider)"},
    {"Initial", "Crear", WholeKey, FlagValue, "0", 0, 1, kFixed, kFixed,
     "pictures without their own transparency are transparent where their top-left corner's colour reaches"},
    {"Initial", "AniSpeedMin", WholeKey, IntegerValue, "1", 0, 0, kFixed, kFixed,
     "the animation speed slider's fastest end"},
    {"Initial", "AniSpeedMax", WholeKey, IntegerValue, "50", 0, 0, kFixed, kFixed,
     "the animation speed slider's slowest end"},
    {"Initial", "SpeedMin", WholeKey, IntegerValue, "-70", 0, 0, kFixed, kFixed, "the speed sliders' one end"},
    {"Initial", "SpeedMax", WholeKey, IntegerValue, "70", 0, 0, kFixed, kFixed, "the speed sliders' other end"},
    {"Character", "", CharacterSlotKey, PathValue, "", 0, 0, kFixed, kFixed,
     "picture of the character's frame; the frames are the unbroken run from slot 0"},
    {"Visible", "A", CharacterAxisKey, ByteValue, "10", 0, 10, kFixed, kFixed,
     "how often the character appears, 0 (never: the character is left out) to 10 (always)"},
    {"Speed", "X", CharacterAxisKey, IntegerValue, "10", 0, 0, kSpeedLowest, kSpeedHighest,
     "pixels a step across"},
    {"Speed", "Y", CharacterAxisKey, IntegerValue, "10", 0, 0, kSpeedLowest, kSpeedHighest, "pixels a step down"},
    {"Speed", "Z", CharacterAxisKey, IntegerValue, "10", 0, 0, kSpeedLowest, kSpeedHighest,
     "per cent of size a step in depth"},
    {"Speed", "A", CharacterAxisKey, IntegerValue, "1", 0, 0, kFixed, kFixed, "frames a frame change moves on"},
    {"Pattern", "X", CharacterAxisKey, FlagValue, "1", 0, 1, kFixed, kFixed,
     "bounce at the screen's sides (else wrap round)"},
    {"Pattern", "Y", CharacterAxisKey, FlagValue, "1", 0, 1, kFixed, kFixed,
     "bounce at the top and bottom (else wrap round)"},
    {"Pattern", "Z", CharacterAxisKey, FlagValue, "1", 0, 1, kFixed, kFixed,
     "bounce between 50 and 200 per cent of size (else 0 to 250, wrapping)"},
    {"Pattern", "A", CharacterAxisKey, FlagValue, "0", 0, 1, kFixed, kFixed,
     "frames play forth and back (else round)"},
    {"BackGround", "Erase", WholeKey, FlagValue, "0", 0, 1, kFixed, kFixed,
     "no background colour: the desktop shows"},
    {"BackGround", "ColorR", WholeKey, ByteValue, "0", 0, 255, kFixed, kFixed, "background colour, red"},
    {"BackGround", "ColorG", WholeKey, ByteValue, "0", 0, 255, kFixed, kFixed, "background colour, green"},
    {"BackGround", "ColorB", WholeKey, ByteValue, "0", 0, 255, kFixed, kFixed, "background colour, blue"},
    {"BackGround", "BmpOpt1", WholeKey, FlagValue, "0", 0, 1, kFixed, kFixed, "show the wallpaper"},
    {"BackGround", "BmpOpt2", WholeKey, FlagValue, "0", 0, 1, kFixed, kFixed,
     "stretch the wallpaper over each monitor (else centred)"},
    {"BackGround", "Bmp", WholeKey, PathValue, "", 0, 0, kFixed, kFixed, "wallpaper picture"},
    {"BackGround", "SoundOpt", WholeKey, FlagValue, "0", 0, 1, kFixed, kFixed, "play the sound"},
    {"BackGround", "Sound", WholeKey, PathValue, "", 0, 0, kFixed, kFixed, "wave file played in a loop"},
};

}  // namespace

const SettingDefinition& Setting(SettingId id) {
  return kSettings[id];
}

SettingKeyText SettingKeyOf(SettingId id, int character, int slot) {
  const SettingDefinition& setting = kSettings[id];
  SettingKeyText key = {};
  size_t at = 0;
  if (setting.form != WholeKey) key.text[at++] = static_cast<char>('A' + character);
  if (setting.form == CharacterSlotKey) key.text[at++] = static_cast<char>('0' + slot);
  for (const char* part = setting.key; *part && at + 1 < sizeof key.text; ++part) key.text[at++] = *part;
  return key;
}

size_t ReadSetting(SettingsStore* store, SettingId id, char value[kSettingBufferSize], int character, int slot) {
  return store->readText(store, kSettings[id].section, SettingKeyOf(id, character, slot).text,
                         kSettings[id].fallback, value);
}

int32_t ReadSettingNumber(SettingsStore* store, SettingId id, int character, int slot) {
  char text[kSettingBufferSize];
  ReadSetting(store, id, text, character, slot);
  return ParseSettingInteger(text);
}

bool WriteSetting(SettingsStore* store, SettingId id, const char* value, int character, int slot) {
  return store->writeText(store, kSettings[id].section, SettingKeyOf(id, character, slot).text, value);
}

bool WriteSettingNumber(SettingsStore* store, SettingId id, int32_t value, int character, int slot) {
  char text[12];
  FormatSettingInteger(value, text);
  return WriteSetting(store, id, text, character, slot);
}

void SettingRange(SettingsStore* store, SettingId id, int32_t* minimum, int32_t* maximum) {
  const SettingDefinition& setting = kSettings[id];
  *minimum = setting.minimumFrom == kFixed ? setting.minimum : ReadSettingNumber(store, setting.minimumFrom);
  *maximum = setting.maximumFrom == kFixed ? setting.maximum : ReadSettingNumber(store, setting.maximumFrom);
}
