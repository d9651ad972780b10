// morvane-settings-manual: writes the scdoc source of morvane-settings(5), the manual page of
// the scene settings file, from the settings table, so that the page lists exactly the keys,
// defaults and ranges every program reads.
#include <cstdio>
#include <cstring>

#include "setting_table.h"

namespace {

const char* KindText(SettingKind kind) {
  switch (kind) {
    case TextValue: return "text";
    case PathValue: return "file name";
    case IntegerValue: return "integer";
    case ByteValue: return "integer, of which the low byte counts";
    default: return "0 or 1 (any non-zero number is on)";
  }
}

void KeyText(const SettingDefinition& setting, char* text, size_t size) {
  if (setting.form == CharacterAxisKey)
    std::snprintf(text, size, "*L%s*", setting.key);
  else if (setting.form == CharacterSlotKey)
    std::snprintf(text, size, "*Lk*");
  else
    std::snprintf(text, size, "*%s*", setting.key);
}

void PrintRange(const SettingDefinition& setting) {
  if (setting.minimumFrom != kSettingCount || setting.maximumFrom != kSettingCount) {
    std::printf("; the dialog offers %s to %s", Setting(setting.minimumFrom).key, Setting(setting.maximumFrom).key);
  } else if (setting.minimum != setting.maximum && setting.kind != FlagValue) {
    std::printf("; the dialog offers %d to %d", setting.minimum, setting.maximum);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--help") == 0) {
    std::puts("Usage: morvane-settings-manual > morvane-settings.5.scd");
    return 0;
  }
  std::puts("morvane-settings(5)\n\n# NAME\n\nmorvane-settings - the scene settings file of Morvane\n");
  std::puts("# DESCRIPTION\n");
  std::puts("A scene is kept as a settings file in the Windows profile format (the designer's MORVANE.INI):"
            " sections in square brackets, then _key_=_value_ lines. Section and key names are"
            " matched without regard to case; a value is at most 259 bytes of text in the system's ANSI code"
            " page. A key that is absent takes its default; a number is its leading decimal integer (0 when"
            " there is none), so a value outside the range the dialog offers is kept as written.\n");
  std::puts("In the keys of a character, L stands for its letter, *A* for the first to *T* for the twentieth,"
            " and k for a frame slot, *0* to *9*: *L0* is *A0* to *T0*. Relative file names belong to the settings file's folder; *\\\\*"
            " separates folders as on Windows.\n");
  std::puts("morvane-pack(1) builds a saver from such a file, and morvane-play(6) and morvane-render(1) play"
            " it; all of them, and the designer, take the same characters, frames, wallpaper and sound from"
            " it and name every file they leave out.\n");
  std::puts("# SECTIONS AND KEYS");
  const char* section = "";
  for (int id = 0; id < kSettingCount; ++id) {
    const SettingDefinition& setting = Setting(static_cast<SettingId>(id));
    if (std::strcmp(section, setting.section) != 0) {
      section = setting.section;
      std::printf("\n## [%s]\n", section);
    }
    char key[16];
    KeyText(setting, key, sizeof key);
    std::printf("\n%s (%s; default ", key, KindText(setting.kind));
    std::printf(*setting.fallback ? "%s" : "empty", setting.fallback);
    PrintRange(setting);
    std::printf(")\n\n\t%c%s.\n", setting.meaning[0] >= 'a' && setting.meaning[0] <= 'z' ? setting.meaning[0] - 32 : setting.meaning[0],
                setting.meaning + 1);
  }
  std::puts("\n# SEE ALSO\n\nmorvane-pack(1), morvane-play(6), morvane-render(1)");
  return 0;
}
