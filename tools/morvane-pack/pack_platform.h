// What morvane-pack needs to know about the system it runs on.
#pragma once
#include <cstddef>

#include "picture_codec.h"
#include "sound_codec.h"
#include "settings_store.h"

const size_t kMaxToolPath = 4096;

// The folder of the running program, without a trailing separator.
bool ToolFolder(char* out, size_t size);

// The player image used when none is given: player.scr beside the tool, or (on Linux, where
// the tool is installed in PREFIX/bin) the one installed in PREFIX/share/morvane. False when
// the tool's own folder is unknown.
bool DefaultPlayerImage(char* out, size_t size);

// The folder that holds a file: its directory part, or the current folder (".") when the name
// has none. isDefault: the store's own place (on Windows the Windows folder); settingsFile
// may then be null.
bool SettingsFolder(const char* settingsFile, bool isDefault, char* out, size_t size);

// The settings the build reads: path, or the store's own place when path is null. Null, with
// a message, when the file exists but cannot be read.
SettingsStore* OpenSettings(const char* path, const char** problem);

// The system's picture decoder for PNG, JPEG and GIF: the imaging component on Windows,
// Debian's libraries elsewhere.
PictureCodec* SystemPictureCodec();

// The system's sound decoder for MP3, Ogg, FLAC and compressed waves: the Audio Compression
// Manager and Media Foundation on Windows, Debian's libmpg123 and libsndfile elsewhere.
SoundCodec* SystemSoundCodec();

extern const char kPathSeparator;

// What signing needs: the signer is a program of its own (osslsigncode).
// The full name of a program found on the search path; false when there is none.
bool FindProgram(const char* name, char* out, size_t size);
// Runs argv[0] with the arguments that follow it (the list ends with null); its standard output
// is discarded and its error output goes to the file errorLog. The program's exit status, or -1
// when it could not be started.
int RunProgram(const char* const* argv, const char* errorLog);
// A number of this process, for names of its own beside the output.
unsigned long ProcessNumber();
