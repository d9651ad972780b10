// Every setting a scene has, written once: its section, its key, the text it has when absent,
// the range the dialog offers and what it means. The settings store, the scene walk, the
// builder, the dialog pages, the players, the tools that write settings files and the manual
// page all read it, so that a key is spelled in one place only.
#pragma once
#include <cstddef>
#include <cstdint>

#include "settings_limits.h"

struct SettingsStore;

enum SettingId {
  kModuleName,
  kMemo1, kMemo2, kMemo3, kMemo4, kMemo5,
  kRedrawPeriod,
  kFrameMultiplier,
  kTransparency,
  kFrameChangeLowest,
  kFrameChangeHighest,
  kSpeedLowest,
  kSpeedHighest,
  kFramePath,       // per character and slot
  kAppearanceRate,  // per character, and those below
  kSpeedX, kSpeedY, kSpeedDepth, kFrameStep,
  kBounceX, kBounceY, kBounceDepth, kPingPong,
  kNoColour,
  kColourRed, kColourGreen, kColourBlue,
  kWallpaperShown,
  kWallpaperStretched,
  kWallpaperPath,
  kSoundOn,
  kSoundPath,
  kSettingCount
};

enum SettingKeyForm {
  WholeKey,          // the key as written
  CharacterAxisKey,  // the character's letter, then the key ("AX" ... "TA")
  CharacterSlotKey   // the character's letter, then the frame slot's digit ("A0" ... "T9")
};

enum SettingKind {
  TextValue,     // any text of up to 259 bytes
  PathValue,     // the name of a file, relative names belonging to the settings' folder
  IntegerValue,  // its leading decimal integer, 32 bits
  ByteValue,     // the same, of which a one-byte field keeps the low byte
  FlagValue      // non-zero is on; a one-byte field keeps the low byte
};

struct SettingDefinition {
  const char* section;
  const char* key;
  SettingKeyForm form;
  SettingKind kind;
  const char* fallback;
  // What the dialog offers; a value outside is kept in the file and clamped only on the page.
  // The range of speeds and of the frame change is itself a setting (minimum/maximumFrom).
  int32_t minimum, maximum;
  SettingId minimumFrom, maximumFrom;  // kSettingCount when fixed
  const char* meaning;
};

const SettingDefinition& Setting(SettingId id);

// The key of a setting for one character (0 to 19) and slot (0 to 9): "Timer1", "AX", "T9".
struct SettingKeyText {
  char text[16];
};
SettingKeyText SettingKeyOf(SettingId id, int character = 0, int slot = 0);

// The value, or the setting's default when the key is absent; returns the length.
size_t ReadSetting(SettingsStore* store, SettingId id, char value[kSettingBufferSize], int character = 0,
                   int slot = 0);
// The setting's number as every reader converts it (see settings_value.h).
int32_t ReadSettingNumber(SettingsStore* store, SettingId id, int character = 0, int slot = 0);
bool WriteSetting(SettingsStore* store, SettingId id, const char* value, int character = 0, int slot = 0);
bool WriteSettingNumber(SettingsStore* store, SettingId id, int32_t value, int character = 0, int slot = 0);

// The dialog's range for the setting, with those that come from other settings read.
void SettingRange(SettingsStore* store, SettingId id, int32_t* minimum, int32_t* maximum);
