// The bitmap and wave files a settings file names, as the designer's playback reaches them: the
// pictures through the builder's intake, the wave read whole and played from memory as a
// packaged saver's is.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct PosixSceneFiles;
struct SceneFile;

void OpenScenePictures(PosixSceneFiles* files, SceneFile* owner);

// Where a name from the settings is found on this system: relative names belong to the
// settings file's folder; the designer writes "\" between folders and Windows ignores the case
// of letters, so both are taken as Windows takes them; a name with a drive letter, which cannot
// exist here, is looked for by its last part beside the settings. Empty when nothing is found.
std::string FindSettingsFile(const std::string& folder, const char* name);

// The whole file, if it holds at most `limit` bytes; false with a message naming it otherwise.
bool ReadLimitedFile(const std::string& path, uint64_t limit, std::vector<uint8_t>* bytes, std::string* problem);
