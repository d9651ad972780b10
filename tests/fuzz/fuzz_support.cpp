#include "fuzz_support.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "byte_order.h"
#include "byte_stream.h"
#include "engine.h"
#include "host_soft.h"
#include "library_picture_codec.h"
#include "package_builder.h"
#include "package_reader.h"
#include "package_source.h"
#include "settings_scene_source.h"
#include "surface.h"
#include "surface_soft.h"

namespace {

typedef std::vector<uint8_t> Bytes;

Bytes SmallBitmap(int32_t width, int32_t height, uint16_t bitCount, uint32_t compression, const Bytes& pixels) {
  const uint32_t colours = bitCount <= 8 ? 1u << bitCount : 0;
  Bytes file(54 + 4 * colours);
  file[0] = 'B';
  file[1] = 'M';
  WriteU32LE(&file[10], static_cast<uint32_t>(file.size()));
  WriteU32LE(&file[14], 40);
  WriteU32LE(&file[18], static_cast<uint32_t>(width));
  WriteU32LE(&file[22], static_cast<uint32_t>(height));
  WriteU16LE(&file[26], 1);
  WriteU16LE(&file[28], bitCount);
  WriteU32LE(&file[30], compression);
  WriteU32LE(&file[34], static_cast<uint32_t>(pixels.size()));
  for (uint32_t k = 0; k < colours; ++k) WriteU32LE(&file[54 + 4 * k], 0x00102030u * k);
  file.insert(file.end(), pixels.begin(), pixels.end());
  WriteU32LE(&file[2], static_cast<uint32_t>(file.size()));
  return file;
}

Bytes RgbPixels() {
  Bytes rgb(4 * 3 * 3);
  for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(i * 37);
  return rgb;
}

const Bytes kRgbPicture = SmallBitmap(4, 3, 24, 0, RgbPixels());
// Three rows of five: two runs, an absolute run, a run, then the end mark.
const Bytes kRlePicture = SmallBitmap(5, 3, 8, 1, {3, 1, 2, 2, 0, 0, 0, 3, 1, 2, 3, 0, 0, 0, 5, 4, 0, 1});
const Bytes kWave = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'};

// MemoryFiles leaves the image out of what it keeps.
const uint8_t* BlankPlayerImage(PlayerImageSource*, const char**) {
  static const uint8_t image[kPlayerImageSize] = {};
  return image;
}

bool QuietSound(SceneSound*, EngineHost*, const char*) { return true; }

// A small screen keeps the paints cheap; a window of full-screen height keeps them on the saver's
// own path.
const SceneGeometry kScreen = {32, 24, 0, 0, 32, kPreviewHeightLimit, 0, 0, 0, {}};
const uint32_t kSeed = 7;

// Two pictures with a frame change between them.
void Play(SceneModel* scene, Pictures* pictures) {
  for (size_t paint = 0; paint < kPaints; ++paint) {
    MoveCharacters(scene);
    ComposePicture(scene);
    const uint32_t* pixels = SoftSurfacePixels(scene->workBuffer);
    if (pixels) std::memcpy(pictures->pixels[paint], pixels, sizeof(pictures->pixels[paint]));
    AdvanceFrames(scene);
  }
}

void Release(SceneModel* scene) {
  ReleaseScene(scene);
  if (SoftLiveSurfaces() != 0) std::abort();
}

std::vector<uint8_t>& KeptPackage() {
  static std::vector<uint8_t> bytes;
  return bytes;
}

}  // namespace

MemoryFiles::MemoryFiles(const uint8_t* picture, size_t size)
    : BuildFiles{OpenForReading, CreateReplacement, FinishReplacement, SizeOf, Seek, Read, Write, Close, LastError,
                 LastErrorNumber},
      package(KeptPackage()),
      files_{{"/f/a.bmp", kRgbPicture.data(), kRgbPicture.size()},
             {"/f/b.bmp", kRlePicture.data(), kRlePicture.size()},
             {"/f/s.wav", kWave.data(), kWave.size()},
             {"/f/x.bmp", picture, size}} {}

BuildFiles::Handle MemoryFiles::OpenForReading(BuildFiles* files, const char* path) {
  MemoryFiles* self = static_cast<MemoryFiles*>(files);
  for (const NamedFile& file : self->files_) {
    if (std::strcmp(file.name, path) != 0) continue;
    for (OpenFile& open : self->open_) {
      if (open.file) continue;
      open = OpenFile{&file, 0};
      return &open;
    }
    std::abort();  // more files open at once than a build or a load ever holds
  }
  return nullptr;
}

BuildFiles::Handle MemoryFiles::CreateReplacement(BuildFiles* files, const char*) {
  MemoryFiles* self = static_cast<MemoryFiles*>(files);
  self->package.clear();
  self->written = 0;
  return &self->package;
}

bool MemoryFiles::FinishReplacement(BuildFiles*, Handle, bool) { return true; }

bool MemoryFiles::SizeOf(BuildFiles*, Handle file, uint64_t* size) {
  *size = static_cast<OpenFile*>(file)->file->size;
  return true;
}

bool MemoryFiles::Seek(BuildFiles*, Handle file, uint64_t offset) {
  static_cast<OpenFile*>(file)->position = static_cast<size_t>(offset);
  return true;
}

size_t MemoryFiles::Read(BuildFiles*, Handle file, void* data, size_t size) {
  OpenFile* open = static_cast<OpenFile*>(file);
  if (open->position >= open->file->size) return 0;
  size_t count = std::min(size, open->file->size - open->position);
  std::memcpy(data, open->file->data + open->position, count);
  open->position += count;
  return count;
}

size_t MemoryFiles::Write(BuildFiles* files, Handle, const void* data, size_t size) {
  MemoryFiles* self = static_cast<MemoryFiles*>(files);
  const uint8_t* p = static_cast<const uint8_t*>(data);
  size_t skip = self->written < kPlayerImageSize ? std::min<size_t>(size, kPlayerImageSize - self->written) : 0;
  self->written += size;
  self->package.insert(self->package.end(), p + skip, p + size);
  return size;
}

bool MemoryFiles::Close(BuildFiles*, Handle file) {
  static_cast<OpenFile*>(file)->file = nullptr;
  return true;
}

const char* MemoryFiles::LastError(BuildFiles*) { return "no such file"; }

int MemoryFiles::LastErrorNumber(BuildFiles*) { return 0; }

SettingsInput::SettingsInput(const uint8_t* data, size_t size) {
  const uint8_t* split = static_cast<const uint8_t*>(std::memchr(data, 0, size));
  const size_t textSize = split ? static_cast<size_t>(split - data) : size;
  store.LoadText(std::string(reinterpret_cast<const char*>(data), textSize));
  picture = split ? split + 1 : data + size;
  pictureSize = split ? size - textSize - 1 : 0;
}

namespace {

// The scene of a source, loaded on the headless host, painted and released whole.
void PlaySource(SceneSource* source, Pictures* pictures) {
  SoftHost host;
  OpenSoftHost(&host);
  SceneModel scene;
  LoadScene(&scene, &host.base, source, kScreen, kSeed);
  Play(&scene, pictures);
  Release(&scene);
}

}  // namespace

void PlaySettings(SettingsInput* input, MemoryFiles* files, Pictures* pictures) {
  SceneSound sound = {QuietSound};
  LibraryPictureCodec codecs;
  OpenLibraryPictureCodec(&codecs);
  SettingsSceneSource settings;
  OpenSettingsSceneSource(&settings, &input->store, files, "/f", &sound, &codecs.base, nullptr);
  PlaySource(&settings.base, pictures);
}

void PlayPackage(SettingsInput* input, MemoryFiles* files, Pictures* pictures) {
  PlayerImageSource player = {BlankPlayerImage};
  LibraryPictureCodec codecs;
  OpenLibraryPictureCodec(&codecs);
  BuildSources sources = {&input->store, &player, files, "/f", nullptr, &codecs.base, false};
  char status = kBuildSucceeded;
  if (!BuildPackagedSaver(sources, "/f/out.scr", &status) || files->written < kPlayerImageSize) std::abort();
  static ScenePackageView view;
  PackageError error;
  if (!ReadScenePackage(files->package.data(), files->package.size(), &view, &error)) std::abort();

  MemoryStream stream;
  OpenMemoryStream(&stream, files->package.data(), static_cast<uint32_t>(files->package.size()));
  PackageSource source;
  OpenPackageSource(&source, &stream.base);
  PlaySource(&source.base, pictures);
}

