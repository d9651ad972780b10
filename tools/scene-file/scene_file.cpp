#include "scene_file.h"

#include <cstdio>
#include <cstring>

#include "package_reader.h"
#include "package_records.h"
#include "profile_text.h"
#include "scene_pictures.h"

namespace {

// The engine reads a package through 32-bit offsets; a real one is a few megabytes.
const uint64_t kMaxSceneFileSize = 1ull << 31;

// Sections the designer writes; a settings file has at least one of them.
const char* const kSettingsSections[] = {"Initial", "Character", "Speed", "Pattern",
                                         "Visible", "BackGround", "Module"};

bool HasSettingsSection(const std::vector<uint8_t>& bytes) {
  ProfileScanner scanner(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  ProfileLine line;
  while (scanner.Next(&line)) {
    if (line.kind != ProfileLine::Section) continue;
    for (const char* name : kSettingsSections) {
      if (ProfileNameEquals(line.entry.section, line.entry.sectionLength, name, std::strlen(name)))
        return true;
    }
  }
  return false;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool ReadSceneFile(const char* path, SceneFile* file, std::string* problem) {
  std::vector<uint8_t> bytes;
  if (!ReadLimitedFile(path, kMaxSceneFileSize, &bytes, problem)) return false;
  file->path = path;
  // A packaged saver is a Windows program first: its image starts with "MZ". One cut inside
  // the image still holds no scene, so it is no packaged saver.
  if (bytes.size() >= kPlayerImageSize && bytes[0] == 'M' && bytes[1] == 'Z') {
    file->kind = PackagedSaver;
    file->package.assign(bytes.begin() + kPlayerImageSize, bytes.end());
    return true;
  }
  if (HasSettingsSection(bytes)) {
    file->kind = SettingsFile;
    file->folder = FolderOf(file->path);
    if (!file->settings.Load(path)) {
      *problem = file->path + ": cannot read the settings";
      return false;
    }
    return true;
  }
  *problem = file->path + ": neither a packaged saver (.scr) nor a settings file";
  return false;
}

std::string PackageDamage(const SceneFile& file) {
  if (file.kind != PackagedSaver) return std::string();
  ScenePackageView view;
  PackageError error = {0, nullptr};
  if (ReadScenePackage(file.package.data(), file.package.size(), &view, &error)) return std::string();
  char where[32];
  std::snprintf(where, sizeof where, "%zu", static_cast<size_t>(kPlayerImageSize) + error.offset);
  return std::string("the scene package is damaged at byte ") + where + " (" +
         (error.reason ? error.reason : "unknown") + ")";
}

SceneSource* OpenSceneFileSource(SceneFile* file) {
  file->sound.clear();
  if (file->kind == PackagedSaver) {
    OpenMemoryStream(&file->stream, file->package.data(), static_cast<uint32_t>(file->package.size()));
    OpenPackageSource(&file->packageSource, &file->stream.base);
    return &file->packageSource.base;
  }
  OpenScenePictures(&file->files, file);
  OpenSettingsSceneSource(&file->settingsSource, &file->settings, &file->files.base);
  return &file->settingsSource.base;
}
