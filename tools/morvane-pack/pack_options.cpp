#include "pack_options.h"

#include <cstring>

const char kPackUsage[] =
    "Usage: morvane-pack [--settings FILE] [--player FILE] [--base DIR] [--strict]\n"
    "                    [--sign CERT.pfx [--password-file FILE]] OUTPUT\n"
    "\n"
    "Builds a packaged saver at OUTPUT: the 49152-byte player image followed by the scene\n"
    "package made from the settings and the bitmap and wave files they name. The bytes are\n"
    "the same as the designer's Create button writes for the same settings and files.\n"
    "\n"
    "  --settings FILE  the settings file (MORVANE.INI) to read; default: the store's own\n"
    "                   place on this system (the Windows folder's MORVANE.INI on Windows,\n"
    "                   /var/lib/morvane/MORVANE.INI elsewhere). A missing file is an empty\n"
    "                   store: every setting takes its default.\n"
    "  --player FILE    the player image to copy, a file of exactly 49152 bytes; default:\n"
    "                   player.scr beside this tool, else (on Linux) the one installed in\n"
    "                   ../share/morvane from it. Any other size is refused before\n"
    "                   anything is written.\n"
    "  --base DIR       the folder that relative file names in the settings resolve against;\n"
    "                   default: the folder of the settings file. Names are read as the\n"
    "                   designer writes them: \"\\\" separates folders too; a drive-letter path\n"
    "                   cannot be found here and is left out with a note.\n"
    "  --strict         write the saver only when every file the settings name goes in:\n"
    "                   one left out (missing, unreadable, over a limit, named by a\n"
    "                   drive-letter path) leaves nothing written.\n"
    "  --sign CERT.pfx  sign the saver with Authenticode, with the key and certificates of\n"
    "                   this PKCS#12 file, through osslsigncode (which must be installed).\n"
    "                   The saver takes the name OUTPUT only once it is signed: a missing\n"
    "                   signer, a damaged certificate or a wrong password leaves nothing new.\n"
    "  --password-file FILE  the certificate's password, on the first line of FILE.\n"
    "  --help           show this text and exit.\n"
    "  --version        show the version and exit.\n"
    "\n"
    "Every file left out of the package is named on standard error with the reason.\n"
    "\n"
    "Exit status: 0 when the saver was written (files left out are named on standard error);\n"
    "1 when nothing was written (the reason on standard error; a file of that name stays as\n"
    "it was): it could not be built or signed, or with --strict a file was left out; 2 for a\n"
    "usage error.\n";

bool ParsePackOptions(int argc, const char* const* argv, PackOptions* options, const char** error) {
  *options = PackOptions();
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    const char** target = nullptr;
    if (!optionsEnded && std::strcmp(arg, "--") == 0) {
      optionsEnded = true;
      continue;
    }
    if (!optionsEnded && (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0)) {
      options->help = true;
      continue;
    }
    if (!optionsEnded && std::strcmp(arg, "--version") == 0) {
      options->version = true;
      continue;
    }
    if (!optionsEnded && std::strcmp(arg, "--strict") == 0) {
      options->strict = true;
      continue;
    }
    if (!optionsEnded && std::strcmp(arg, "--settings") == 0) target = &options->settings;
    else if (!optionsEnded && std::strcmp(arg, "--player") == 0) target = &options->player;
    else if (!optionsEnded && std::strcmp(arg, "--base") == 0) target = &options->base;
    else if (!optionsEnded && std::strcmp(arg, "--sign") == 0) target = &options->sign;
    else if (!optionsEnded && std::strcmp(arg, "--password-file") == 0) target = &options->passwordFile;
    if (target) {
      if (i + 1 >= argc || argv[i + 1][0] == '\0') {
        *error = "an option needs a value: --settings FILE, --player FILE, --base DIR, --sign CERT.pfx, --password-file FILE";
        return false;
      }
      if (*target) {
        *error = "an option was given twice";
        return false;
      }
      *target = argv[++i];
      continue;
    }
    if (!optionsEnded && arg[0] == '-' && arg[1] != '\0') {
      *error = "unknown option";
      return false;
    }
    if (options->output) {
      *error = "only one OUTPUT may be given";
      return false;
    }
    if (arg[0] == '\0') {
      *error = "OUTPUT is empty";
      return false;
    }
    options->output = arg;
  }
  if (!options->help && !options->version && !options->output) {
    *error = "OUTPUT is missing";
    return false;
  }
  if (options->passwordFile && !options->sign) {
    *error = "--password-file belongs to --sign";
    return false;
  }
  return true;
}
