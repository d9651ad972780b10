// The command line of morvane-pack:
//   morvane-pack [--settings FILE] [--player FILE] [--base DIR] [--strict]
//                [--sign CERT.pfx [--password-file FILE]] OUTPUT
#pragma once

struct PackOptions {
  const char* settings = nullptr;  // null: the store's own place on this system
  const char* player = nullptr;    // null: player.scr beside the tool
  const char* base = nullptr;      // null: the settings file's folder
  const char* output = nullptr;
  const char* sign = nullptr;          // null: the saver is not signed
  const char* passwordFile = nullptr;  // only with sign
  bool strict = false;  // a file the settings name that is not taken fails the build
  bool help = false;
  bool version = false;
};

// False, with a message, for a command line that is not of the form above.
bool ParsePackOptions(int argc, const char* const* argv, PackOptions* options, const char** error);

extern const char kPackUsage[];
