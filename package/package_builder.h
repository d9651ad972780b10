// Writes a packaged saver: the player image, then the scene package made from the settings and
// the picture and wave files they name. The same code runs behind the designer's Create button
// and the morvane-pack tool, so both write the same bytes for the same settings and files.
#pragma once
#include "build_files.h"
#include "picture_codec.h"
#include "player_image_source.h"
#include "settings_store.h"

enum BuildIssueKind {
  BuildFailed,   // the status byte is now "1"
  BuildNote,     // something filled in as the format prescribes; not a failure
  BuildLeftOut   // a file the settings name was not taken; the package goes on without it
};

class BuildDiagnostics {
 public:
  // record names the part of the package ("player image", "frame A0", "wallpaper", "sound",
  // "output"); path is the file concerned, or null.
  virtual void Report(BuildIssueKind kind, const char* record, const char* path, const char* why) = 0;

 protected:
  ~BuildDiagnostics() {}
};

struct BuildSources {
  SettingsStore* settings;
  PlayerImageSource* player;
  BuildFiles* files;
  const char* baseFolder;          // relative names in the settings resolve against it
  BuildDiagnostics* diagnostics;   // may be null
  PictureCodec* codecs;           // PNG, JPEG and GIF; null: such files are refused
};

const char kBuildSucceeded = '0';
const char kBuildFailedStatus = '1';

// The caller sets *status to "0" first; the builder stores "1" on any failure and never "0".
void BuildPackagedSaver(const BuildSources& sources, const char* outputPath, char* status);
