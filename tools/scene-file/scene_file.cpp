#include "scene_file.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <utility>

#include <cerrno>

#include "authenticode_signature.h"
#include "decoded_wave_file.h"
#include "size_limits.h"
#include "engine_host.h"
#include "package_reader.h"
#include "package_records.h"
#include "profile_file_store.h"
#include "profile_text.h"
#include "setting_table.h"

namespace {

// A packaged saver as large as any builder writes; a real one is a few megabytes.
const uint64_t kMaxSceneFileSize = kPlayerImageSize + kMaxPackageBytes;


bool HasSettingsSection(const uint8_t* bytes, size_t size) {
  ProfileScanner scanner(reinterpret_cast<const char*>(bytes), size);
  ProfileLine line;
  while (scanner.Next(&line)) {
    if (line.kind != ProfileLine::Section) continue;
    // A settings file has at least one of the sections the settings table names.
    for (int id = 0; id < kSettingCount; ++id) {
      const char* name = Setting(static_cast<SettingId>(id)).section;
      if (ProfileNameEquals(line.entry.section, line.entry.sectionLength, name, std::strlen(name)))
        return true;
    }
  }
  return false;
}

// The settings' wave, kept by the file while it plays, as the saver is. The settings are read
// once, so every load names the same wave and finds it mapped. Were it another, the one before
// would be closed only once the new one plays in its place, not under the sound output.
bool PlayWaveFile(SceneSound* sound, EngineHost* host, const char* path) {
  SceneFile* owner = reinterpret_cast<SceneFileSound*>(sound)->owner;
  std::unique_ptr<MappedSaver> before;
  if (!owner->wave || owner->wavePath != path) {
    std::unique_ptr<MappedSaver> wave(new MappedSaver);
    if (!MapSaverFile(path, wave.get()) || wave->size == 0 || wave->size > kMaxSoundBytes) return false;
    before = std::move(owner->wave);
    owner->wave = std::move(wave);
    owner->wavePath = path;
  }
  host->playSound(host, owner->wave->bytes, static_cast<int32_t>(owner->wave->size));
  return true;
}

// A decoded sound's wave goes into a file of its own; where the temporary folder takes none, the
// walk decodes it into memory instead.
WaveSink* OpenDecodedWave(SceneSound*, const char*) {
  DecodedWaveFile* file = CreateDecodedWaveFile();
  return file ? &file->base : nullptr;
}

bool EndDecodedWave(SceneSound* sound, EngineHost* host, WaveSink* sink, const char* path, size_t size) {
  SceneFile* owner = reinterpret_cast<SceneFileSound*>(sound)->owner;
  DecodedWaveFile* file = reinterpret_cast<DecodedWaveFile*>(sink);
  if (size == 0) {
    DropDecodedWave(file);
    return false;
  }
  std::unique_ptr<MappedSaver> wave(new MappedSaver);
  if (!MapDecodedWave(file, size, wave.get()) || wave->size != size) return false;
  // Any wave decoded before goes only once this one plays in its place.
  std::unique_ptr<MappedSaver> before = std::move(owner->decoded);
  owner->decoded = std::move(wave);
  owner->decodedPath = path;
  host->playSound(host, owner->decoded->bytes, static_cast<int32_t>(owner->decoded->size));
  return true;
}

bool PlayDecodedAgain(SceneSound* sound, EngineHost* host, const char* path) {
  SceneFile* owner = reinterpret_cast<SceneFileSound*>(sound)->owner;
  if (!owner->decoded || owner->decodedPath != path) return false;
  host->playSound(host, owner->decoded->bytes, static_cast<int32_t>(owner->decoded->size));
  return true;
}

// Left-out files and files put right, the lines a user looks for when something is missing;
// how each picture's transparency was decided is the builder's to say.
void PrintFirstLoad(WalkListener* listener, const WalkOutcome& outcome) {
  const SceneFile* owner = reinterpret_cast<SceneFileListener*>(listener)->owner;
  if (owner->program && owner->loads == 1 && outcome.reason != NoteTransparency)
    PrintWalkOutcome(stderr, owner->program, outcome);
}

// Signing puts up to 7 zero bytes before the signature, so that it starts on a multiple of 8:
// they follow the sound record, and are no damage of the package.
size_t WithoutSignaturePadding(const uint8_t* package, size_t size) {
  ScenePackageView view;
  PackageError error = {0, nullptr};
  if (ReadScenePackage(package, size, &view, &error) || size - error.offset >= 8) return size;
  for (size_t at = error.offset; at < size; ++at)
    if (package[at] != 0) return size;
  return ReadScenePackage(package, error.offset, &view, &error) ? error.offset : size;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool ReadSceneFile(const char* path, SceneFile* file, std::string* problem) {
  file->path = path;
  MappedSaver& saver = file->saver;
  if (!MapSaverFile(path, &saver)) {
    *problem = file->path + ": " + std::strerror(errno);
    return false;
  }
  if (saver.size > kMaxSceneFileSize) {
    *problem = file->path + ": too large";
    return false;
  }
  // A packaged saver is a Windows program first: its image starts with "MZ". One cut inside
  // the image still holds no scene, so it is no packaged saver.
  if (saver.size >= kPlayerImageSize && saver.bytes[0] == 'M' && saver.bytes[1] == 'Z') {
    file->kind = PackagedSaver;
    const uint64_t end = SignatureStart(saver.bytes, kPlayerImageSize, saver.size, kPlayerImageSize);
    file->package = saver.bytes + kPlayerImageSize;
    file->packageSize = static_cast<size_t>(end - kPlayerImageSize);
    if (end < saver.size) file->packageSize = WithoutSignaturePadding(file->package, file->packageSize);
    return true;
  }
  // Only the front of a file too large for the settings store is looked at for a section.
  const size_t looked = saver.size > kMaxProfileFileSize ? kMaxProfileFileSize + 1 : saver.size;
  if (HasSettingsSection(saver.bytes, looked)) {
    file->kind = SettingsFile;
    file->folder = FolderOf(file->path);
    if (saver.size > kMaxProfileFileSize) {
      *problem = file->path + ": cannot read the settings";
      return false;
    }
    file->settings.LoadText(std::string(reinterpret_cast<const char*>(saver.bytes), saver.size));
    return true;
  }
  *problem = file->path + ": neither a packaged saver (.scr) nor a settings file";
  return false;
}

std::string PackageDamage(const SceneFile& file) {
  if (file.kind != PackagedSaver) return std::string();
  ScenePackageView view;
  PackageError error = {0, nullptr};
  if (ReadScenePackage(file.package, file.packageSize, &view, &error)) return std::string();
  char where[32];
  std::snprintf(where, sizeof where, "%zu", static_cast<size_t>(kPlayerImageSize) + error.offset);
  return std::string("the scene package is damaged at byte ") + where + " (" +
         (error.reason ? error.reason : "unknown") + ")";
}

SceneSource* OpenSceneFileSource(SceneFile* file) {
  if (file->kind == PackagedSaver) {
    OpenSaverFileStream(&file->stream, file->saver, kPlayerImageSize, kPlayerImageSize + file->packageSize);
    OpenPackageSource(&file->packageSource, &file->stream.base);
    return &file->packageSource.base;
  }
  file->soundFile.base.playFile = PlayWaveFile;
  file->soundFile.base.openDecoded = OpenDecodedWave;
  file->soundFile.base.endDecoded = EndDecodedWave;
  file->soundFile.base.playDecodedAgain = PlayDecodedAgain;
  file->soundFile.owner = file;
  file->listener.base.heard = PrintFirstLoad;
  file->listener.owner = file;
  ++file->loads;
  OpenLibraryPictureCodec(&file->pictureCodec);
  OpenLibrarySoundCodec(&file->soundCodec);
  OpenSettingsSceneSource(&file->settingsSource, &file->settings, &file->pictureFiles, file->folder.c_str(),
                          &file->soundFile.base, &file->pictureCodec.base, &file->listener.base,
                          &file->soundCodec.base);
  return &file->settingsSource.base;
}

bool FindInSceneFile(const SceneFile& file, const uint8_t* data, size_t size, FileSpan* span) {
  return SpanInFile(file.saver, data, size, span) || (file.wave && SpanInFile(*file.wave, data, size, span)) ||
         (file.decoded && SpanInFile(*file.decoded, data, size, span));
}
