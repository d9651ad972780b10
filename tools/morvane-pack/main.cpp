// morvane-pack: builds a packaged saver from a settings file without the designer.
#include <cstdio>
#include <cstring>

#include "input_path.h"
#include "pack_options.h"
#include "pack_platform.h"
#include "package_builder.h"
#include "package_records.h"
#include "player_image_source.h"
#include "stdio_build_files.h"

namespace {

// Every file taken with a note or left out, and a saver not written, on standard error.
void PrintOutcome(WalkListener*, const WalkOutcome& outcome) {
  PrintWalkOutcome(stderr, "morvane-pack", outcome);
}

int Usage(const char* message) {
  std::fprintf(stderr, "morvane-pack: %s\n%s", message, kPackUsage);
  return 2;
}

int Refuse(const char* what, const char* path, const char* why) {
  std::fprintf(stderr, "morvane-pack: error: %s %s: %s; nothing was written\n", what, path, why);
  return 1;
}

// The player image must be exactly one image long: anything else would move the package away
// from the offset every player reads it at.
bool CheckPlayerImage(BuildFiles* files, const char* path, const char** why) {
  BuildFiles::Handle file = files->openForReading(files, path);
  if (!file) {
    *why = files->lastError(files);
    return false;
  }
  uint64_t size = 0;
  bool ok = files->sizeOf(files, file, &size);
  files->close(files, file);
  if (!ok) *why = "its size cannot be determined";
  else if (size != kPlayerImageSize) *why = "it is not exactly 49152 bytes long";
  return ok && size == kPlayerImageSize;
}

}  // namespace

int main(int argc, char** argv) {
  PackOptions options;
  const char* error = nullptr;
  if (!ParsePackOptions(argc, argv, &options, &error)) return Usage(error);
  if (options.help) {
    std::fputs(kPackUsage, stdout);
    return 0;
  }

  static char playerPath[kMaxToolPath + 16];
  if (options.player) {
    std::snprintf(playerPath, sizeof(playerPath), "%s", options.player);
  } else {
    char folder[kMaxToolPath];
    if (!ToolFolder(folder, sizeof(folder))) return Refuse("player image", "player.scr", "the tool's own folder is unknown");
    std::snprintf(playerPath, sizeof(playerPath), "%s%cplayer.scr", folder, kPathSeparator);
  }

  StdioBuildFiles files;
  const char* why = nullptr;
  if (!CheckPlayerImage(&files, playerPath, &why)) return Refuse("player image", playerPath, why);

  SettingsStore* settings = OpenSettings(options.settings, &why);
  if (!settings) return Refuse("settings", options.settings ? options.settings : "(default)", why);

  static char base[kMaxToolPath];
  if (options.base) {
    std::snprintf(base, sizeof(base), "%s", options.base);
  } else if (!SettingsFolder(options.settings, options.settings == nullptr, base, sizeof(base))) {
    return Refuse("settings", options.settings ? options.settings : "(default)", "its folder cannot be determined");
  }
  TrailingPlayerImage player(&files, playerPath);
  WalkListener listener = {PrintOutcome};
  BuildSources sources = {settings, &player, &files, base, &listener, SystemPictureCodec(), options.strict};
  char status = kBuildSucceeded;
  if (BuildPackagedSaver(sources, options.output, &status)) return 0;
  std::fprintf(stderr, "morvane-pack: %s: nothing was written%s; a file of that name was left as it was\n",
               options.output, options.strict ? " (with --strict every file named must go in)" : "");
  return 1;
}
