// Writes a packaged saver: the player image, then the scene package made from the settings and
// the picture and wave files they name. The same code runs behind the designer's Create button
// and the morvane-pack tool, so both write the same bytes for the same settings and files.
#pragma once
#include <cstdint>

#include "build_files.h"
#include "picture_codec.h"
#include "sound_codec.h"
#include "player_image_source.h"
#include "settings_store.h"
#include "walk_outcome.h"

struct BuildSources {
  SettingsStore* settings;
  PlayerImageSource* player;
  BuildFiles* files;
  const char* baseFolder;   // relative names in the settings resolve against it
  WalkListener* listener;   // every file taken with a note or left out, and a saver not written; may be null
  PictureCodec* codecs;     // PNG, JPEG and GIF; null: such files are left out
  bool wholeOnly;           // a file left out keeps the saver from being written at all
  SoundCodec* sounds;       // MP3, Ogg, FLAC and compressed waves; null: such sounds are left out
};

const char kBuildSucceeded = '0';
const char kBuildFailedStatus = '1';

// The caller sets *status to "0" first; the builder stores "1" on any failure and never "0": a
// saver not written, a picture that could not be read, a sound that could not be copied whole.
// Returns whether the saver was written; a saver left unwritten leaves any file of that name as
// it was.
bool BuildPackagedSaver(const BuildSources& sources, const char* outputPath, char* status);

// The size in bytes of the saver BuildPackagedSaver would write from the same sources, found by
// the same walk without writing anything (the sound is not read, only its length taken). The
// listener, when given, hears what the walk leaves out. The player image is not read either.
uint64_t MeasurePackagedSaver(const BuildSources& sources);
