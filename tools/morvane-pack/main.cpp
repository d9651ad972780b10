// morvane-pack: builds a packaged saver from a settings file without the designer.
#include <cstdio>
#include <cstring>
#include <string>

#include "described_player_image.h"
#include "input_path.h"
#include "pack_options.h"
#include "pack_platform.h"
#include "pack_signing.h"
#include "package_builder.h"
#include "package_records.h"
#include "player_image_source.h"
#include "scene_file_text.h"
#include "stdio_build_files.h"
#include "tool_version.h"

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

// The signed saver takes the output's place as the builder's own output does: written beside
// it and renamed, keeping the old file's permissions and links.
bool CopyReplacing(BuildFiles* files, const char* from, const char* to, const char** why) {
  BuildFiles::Handle in = files->openForReading(files, from);
  if (!in) {
    *why = files->lastError(files);
    return false;
  }
  BuildFiles::Handle out = files->createReplacement(files, to);
  bool whole = out != nullptr;
  static uint8_t chunk[64 * 1024];
  for (size_t got; whole && (got = files->read(files, in, chunk, sizeof chunk)) > 0;)
    whole = files->write(files, out, chunk, got) == got;
  files->close(files, in);
  if (!out || !files->finishReplacement(files, out, whole) || !whole) {
    *why = files->lastError(files);
    return false;
  }
  return true;
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
  if (options.version) {
    PrintToolVersion("morvane-pack");
    return 0;
  }

  static char playerPath[kMaxToolPath + 16];
  if (options.player) {
    std::snprintf(playerPath, sizeof(playerPath), "%s", options.player);
  } else if (!DefaultPlayerImage(playerPath, sizeof(playerPath))) {
    return Refuse("player image", "player.scr", "the tool's own folder is unknown");
  }

  StdioBuildFiles files;
  const char* why = nullptr;
  if (!CheckPlayerImage(&files, playerPath, &why)) return Refuse("player image", playerPath, why);

  // A scene file that is none would otherwise build the default scene without a word.
  if (options.settings && IsSceneFileName(options.settings)) {
    std::string text, detail;
    const SceneFileProblem problem = ReadSceneFileText(options.settings, &text, &detail);
    if (problem == SceneFileForeignSection) detail = std::string(SceneFileProblemText(problem)) + " ([" + detail + "])";
    else detail = SceneFileProblemText(problem);
    if (problem != SceneFileFine) return Refuse("scene file", options.settings, detail.c_str());
  }
  SettingsStore* settings = OpenSettings(options.settings, &why);
  if (!settings) return Refuse("settings", options.settings ? options.settings : "(default)", why);

  static char base[kMaxToolPath];
  if (options.base) {
    std::snprintf(base, sizeof(base), "%s", options.base);
  } else if (!SettingsFolder(options.settings, options.settings == nullptr, base, sizeof(base))) {
    return Refuse("settings", options.settings ? options.settings : "(default)", "its folder cannot be determined");
  }
  // A saver to be signed is built under a name of its own and takes OUTPUT's only when signed.
  const SigningRequest signing = {options.sign, options.passwordFile};
  static char signer[kMaxToolPath], unsignedPath[kMaxToolPath + 32], signedPath[kMaxToolPath + 32];
  const char* output = options.output;
  if (options.sign) {
    if (!ReadyToSign(signing, signer, sizeof signer)) return 1;
    std::snprintf(unsignedPath, sizeof unsignedPath, "%s.%lu.unsigned", options.output, ProcessNumber());
    std::snprintf(signedPath, sizeof signedPath, "%s.%lu.signed", options.output, ProcessNumber());
    output = unsignedPath;
  }
  TrailingPlayerImage player(&files, playerPath);
  DescribedPlayerImage described(&player, settings);
  WalkListener listener = {PrintOutcome};
  BuildSources sources = {settings, &described, &files, base, &listener, SystemPictureCodec(), options.strict,
                          SystemSoundCodec()};
  char status = kBuildSucceeded;
  if (!BuildPackagedSaver(sources, output, &status)) {
    std::fprintf(stderr, "morvane-pack: %s: nothing was written%s; a file of that name was left as it was\n",
                 options.output, options.strict ? " (with --strict every file named must go in)" : "");
    return 1;
  }
  if (!options.sign) return 0;
  if (!SignSaver(signing, signer, unsignedPath, signedPath)) {
    std::remove(unsignedPath);
    return 1;
  }
  std::remove(unsignedPath);
  const bool replaced = CopyReplacing(&files, signedPath, options.output, &why);
  std::remove(signedPath);
  if (!replaced) return Refuse("output", options.output, why);
  return 0;
}
