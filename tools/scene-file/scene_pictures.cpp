#include "scene_pictures.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bitmap_intake.h"
#include "bitmap_limits.h"
#include "engine_host.h"
#include "scene_file.h"
#include "surface.h"

namespace {

bool Exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

// The entry of `folder` whose name equals `part` without regard to the case of ASCII letters.
bool FindEntryIgnoringCase(const std::string& folder, const std::string& part, std::string* found) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return false;
  bool matched = false;
  while (struct dirent* entry = readdir(dir)) {
    if (strcasecmp(entry->d_name, part.c_str()) == 0) {
      *found = entry->d_name;
      matched = true;
      break;
    }
  }
  closedir(dir);
  return matched;
}

// Walks the parts of a relative name from `folder`, matching each part exactly or, failing
// that, without regard to case.
std::string WalkParts(std::string path, const std::vector<std::string>& parts) {
  for (const std::string& part : parts) {
    if (part.empty() || part == ".") continue;
    std::string next = path + "/" + part;
    if (!Exists(next)) {
      std::string entry;
      if (!FindEntryIgnoringCase(path.empty() ? "/" : path, part, &entry)) return std::string();
      next = path + "/" + entry;
    }
    path = next;
  }
  return path;
}

std::vector<std::string> SplitParts(const char* name) {
  std::vector<std::string> parts(1);
  for (const char* c = name; *c; ++c) {
    if (*c == '\\' || *c == '/') {
      parts.emplace_back();
    } else {
      parts.back() += *c;
    }
  }
  return parts;
}

PosixSceneFiles* Self(SceneFiles* files) {
  return reinterpret_cast<PosixSceneFiles*>(files);
}

Surface* LoadPicture(SceneFiles* files, const char* name, const Surface* reference) {
  std::string path = FindSettingsFile(Self(files)->owner->folder, name);
  std::vector<uint8_t> bytes;
  std::string problem;
  if (path.empty() || !ReadLimitedFile(path, kMaxBitmapBytes, &bytes, &problem)) return nullptr;
  MemoryBitmapSource source(bytes.data(), bytes.size());
  BitmapRecord record;
  const char* why = nullptr;
  if (!IntakeBitmap(&source, &record, &why)) return nullptr;
  uint8_t header[40 + sizeof record.colours];
  std::memcpy(header, record.infoHeader, 40);
  std::memcpy(header + 40, record.colours, 4 * record.colourCount);
  Surface* picture =
      LoadDibSurface(reference, header, 40 + 4 * record.colourCount, record.bits, record.bitsSize);
  ReleaseBitmapRecord(&record);
  return picture;
}

bool PlaySound(SceneFiles* files, const char* name) {
  SceneFile* owner = Self(files)->owner;
  std::string path = FindSettingsFile(owner->folder, name);
  std::string problem;
  if (path.empty() || !ReadLimitedFile(path, kMaxBitmapBytes, &owner->sound, &problem) || owner->sound.empty())
    return false;
  HostPlaySound(owner->sound.data(), static_cast<int32_t>(owner->sound.size()));
  return true;
}

}  // namespace

bool ReadLimitedFile(const std::string& path, uint64_t limit, std::vector<uint8_t>* bytes, std::string* problem) {
  FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) {
    *problem = path + ": " + std::strerror(errno);
    return false;
  }
  bytes->clear();
  uint8_t chunk[65536];
  size_t got;
  bool fits = true;
  while (fits && (got = std::fread(chunk, 1, sizeof chunk, in)) > 0) {
    fits = bytes->size() + got <= limit;
    if (fits) bytes->insert(bytes->end(), chunk, chunk + got);
  }
  const int error = std::ferror(in) ? errno : 0;
  std::fclose(in);
  if (!fits) *problem = path + ": too large";
  if (error) *problem = path + ": " + std::strerror(error);
  return fits && !error;
}

std::string FindSettingsFile(const std::string& folder, const char* name) {
  if (!name[0]) return std::string();
  const bool drive = ((name[0] | 0x20) >= 'a' && (name[0] | 0x20) <= 'z') && name[1] == ':';
  if (drive || name[0] == '\\') {
    std::vector<std::string> parts = SplitParts(name);
    return WalkParts(folder, {parts.back()});
  }
  if (name[0] == '/') return Exists(name) ? std::string(name) : WalkParts("", SplitParts(name + 1));
  return WalkParts(folder, SplitParts(name));
}

void OpenScenePictures(PosixSceneFiles* files, SceneFile* owner) {
  files->base.loadPicture = LoadPicture;
  files->base.playSound = PlaySound;
  files->owner = owner;
}
