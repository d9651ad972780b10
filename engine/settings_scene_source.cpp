#include "settings_scene_source.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "byte_order.h"
#include "dib_record.h"
#include "engine_host.h"
#include "scene_model.h"

namespace {

SettingsSceneSource* Self(SceneSource* source) {
  return reinterpret_cast<SettingsSceneSource*>(source);
}

void ReadTiming(SceneSource* source, int32_t* redrawPeriod, int32_t* multiplier) {
  SettingsSceneSource* self = Self(source);
  self->walk = new (self->walkSpace) SceneWalk(self->sources);
  self->timing = self->walk->Timing();
  *redrawPeriod = self->timing.redrawPeriod;
  *multiplier = self->timing.frameMultiplier;
}

uint8_t ReadTransparency(SceneSource* source) {
  return Self(source)->timing.transparent;
}

// A record as the packaged saver would draw it: the player's own record check and surface layer.
Surface* RecordSurface(BitmapRecord* record, const Surface* reference, bool frame) {
  uint8_t info[kMaxPackedInfoSize];
  const uint32_t infoSize = PackBitmapInfo(*record, info);
  Surface* picture = LoadRecordSurface(reference, info, infoSize, record->bits, record->bitsSize, frame);
  ReleaseBitmapRecord(record);
  return picture;
}

bool BeginCharacter(SceneSource* source) {
  return Self(source)->walk->NextCharacter();
}

bool LoadFrame(SceneSource* source, int, const Surface* reference, Surface** sprite) {
  BitmapRecord record;
  if (!Self(source)->walk->NextFrame(&record)) return false;
  *sprite = RecordSurface(&record, reference, true);
  return true;
}

bool ReadMotion(SceneSource* source, CharacterState* c) {
  TakeMotionRecord(Self(source)->walk->Motion(), c);
  return true;
}

bool ReadBackground(SceneSource* source, SceneBackground* background) {
  *background = BackgroundOfRecord(Self(source)->walk->Background());
  return true;
}

bool BeginWallpaper(SceneSource* source, int32_t* width, int32_t* height) {
  SettingsSceneSource* self = Self(source);
  self->wallByRows = self->walk->WallpaperByRows(&self->wallpaper);
  if (!self->wallByRows && !self->walk->TakeWallpaper(&self->wallpaper)) return false;
  self->wallInfoSize = PackBitmapInfo(self->wallpaper, self->wallInfo);
  // Rows taken from the walk come top row first: the bands say so.
  if (self->wallByRows) WriteU32LE(self->wallInfo + 8, static_cast<uint32_t>(-ReadI32LE(self->wallInfo + 8)));
  // The player's own record check decides, as for the packaged saver's wallpaper.
  if (!DibRecordFits(self->wallInfo, self->wallInfoSize, self->wallpaper.bitsSize)) {
    ReleaseBitmapRecord(&self->wallpaper);
    return false;
  }
  StartRecordBands(&self->wallBands, self->wallInfo, self->bandBytes);
  *width = ReadI32LE(self->wallInfo + 4);
  *height = self->wallBands.height;
  return true;
}

// A band of rows taken from the walk: the next run of rows a monitor shows, those before it
// passed over (the walk still reads them, in order, for their damage, but neither scales nor
// converts them). Null after the last row, when the walk has read the whole picture.
Surface* NextShownRows(SettingsSceneSource* self, const Surface* reference, const WallpaperPlacement& placement,
                       int32_t* top) {
  RecordBands* bands = &self->wallBands;
  SceneWalk* walk = self->walk;
  while (bands->given < bands->height && !WallpaperRowShown(placement, bands->given)) {
    if (!walk->NextWallpaperRow(nullptr)) return nullptr;
    ++bands->given;
  }
  int32_t rows = 0;
  while (bands->given + rows < bands->height && rows < bands->bandRows &&
         WallpaperRowShown(placement, bands->given + rows))
    ++rows;
  if (rows == 0) return nullptr;
  uint8_t* bits = static_cast<uint8_t*>(malloc(static_cast<size_t>(bands->rowBytes) * rows));
  bool whole = bits != nullptr;
  for (int32_t k = 0; whole && k < rows; ++k) whole = walk->NextWallpaperRow(bits + static_cast<size_t>(k) * bands->rowBytes);
  Surface* band = whole ? LoadRecordRows(reference, self->wallInfo, self->wallInfoSize, bits, rows) : nullptr;
  free(bits);
  *top = bands->given;
  bands->given += rows;
  return band;
}

Surface* NextWallpaperBand(SceneSource* source, const Surface* reference, const WallpaperPlacement* placement,
                           int32_t* top) {
  SettingsSceneSource* self = Self(source);
  RecordBands* bands = &self->wallBands;
  const int32_t stored = bands->given;
  const int32_t rows = self->wallpaper.bits && !self->wallByRows ? NextRecordBand(bands, top) : 0;
  Surface* band = nullptr;
  if (self->wallByRows) {
    band = NextShownRows(self, reference, *placement, top);
  } else if (rows > 0 && bands->rowBytes) {
    band = LoadRecordRows(reference, self->wallInfo, self->wallInfoSize,
                          self->wallpaper.bits + static_cast<size_t>(stored) * bands->rowBytes, rows);
  } else if (rows > 0) {
    band = LoadRecordSurface(reference, self->wallInfo, self->wallInfoSize, self->wallpaper.bits,
                             self->wallpaper.bitsSize);
  }
  if (!band) {
    ReleaseBitmapRecord(&self->wallpaper);
    self->wallByRows = false;
  }
  return band;
}

// The wave decoded into the sound's sink, whole or left out: played or dropped.
void EndDecodedSound(SettingsSceneSource* self, SceneModel* scene) {
  const size_t size = self->walk->EndSoundDecoding(&self->soundFile) ? self->soundFile.length : 0;
  if (self->sound->endDecoded(self->sound, scene->host, self->soundSink, self->soundFile.path, size) && size) scene->soundPlaying = 1;
  self->soundSink = nullptr;
  ReleaseWalkSound(self->sources.files, &self->soundFile);
}

// A sound the players cannot play as it is stored: played again where an earlier load decoded
// it, else decoded into the sound's own sink while the first picture is not yet due, and the
// rest between paints. False, with nothing done, when the sound has no sink to give.
bool StartDecodedSound(SettingsSceneSource* self, SceneModel* scene) {
  SceneSound* out = self->sound;
  EngineHost* host = scene->host;
  WalkSoundFile* sound = &self->soundFile;
  if (out->playDecodedAgain(out, host, sound->path)) {
    scene->soundPlaying = 1;
    ReleaseWalkSound(self->sources.files, sound);
    return true;
  }
  self->soundSink = out->openDecoded(out, sound->path);
  if (!self->soundSink) return false;
  if (!self->walk->BeginSoundDecoding(sound, self->soundSink)) {
    out->endDecoded(out, nullptr, self->soundSink, sound->path, 0);
    self->soundSink = nullptr;
    ReleaseWalkSound(self->sources.files, sound);
    return true;
  }
  for (;;) {
    if (!self->walk->DecodeMoreSound()) {
      EndDecodedSound(self, scene);
      return true;
    }
    if (host->firstPictureDue && host->firstPictureDue(host)) break;
  }
  scene->soundSource = &self->base;
  return true;
}

bool ContinueSound(SceneSource* source, SceneModel* scene) {
  SettingsSceneSource* self = Self(source);
  if (!self->soundSink) return false;
  if (self->walk->DecodeMoreSound()) return true;
  EndDecodedSound(self, scene);
  return false;
}

void StartSound(SceneSource* source, SceneModel* scene) {
  SettingsSceneSource* self = Self(source);
  WalkSoundFile& sound = self->soundFile;
  if (!self->walk->Sound(&sound)) return;
  if (sound.toDecode && self->sound->openDecoded && StartDecodedSound(self, scene)) return;
  if (sound.toDecode) self->walk->DecodeSound(&sound);
  if (sound.wave) {
    // A decoded sound plays from memory as the packaged saver's does, and the model keeps the
    // block until the end.
    scene->soundData = sound.wave;
    scene->soundSize = static_cast<int32_t>(sound.length);
    scene->soundPlaying = 1;
    sound.wave = nullptr;
    scene->host->playSound(scene->host, scene->soundData, scene->soundSize);
  }
  const bool fromFile = sound.file != nullptr;
  ReleaseWalkSound(self->sources.files, &sound);
  // Marked as playing so that the window's end stops it, as the player's sound is stopped.
  if (fromFile && self->sound->playFile(self->sound, scene->host, sound.path)) scene->soundPlaying = 1;
}

// A wallpaper whose rows came from the walk may have been found damaged part way through them.
bool WallpaperTaken(SceneSource* source) {
  return !Self(source)->walk->WallpaperLeftOut();
}

void Close(SceneSource* source) {
  SettingsSceneSource* self = Self(source);
  ReleaseBitmapRecord(&self->wallpaper);
  // A sound still being decoded is given up with the load.
  if (self->soundSink) self->sound->endDecoded(self->sound, nullptr, self->soundSink, self->soundFile.path, 0);
  self->soundSink = nullptr;
  if (self->walk) self->walk->~SceneWalk();
  self->walk = nullptr;
  ReleaseWalkSound(self->sources.files, &self->soundFile);
}

}  // namespace

void OpenSettingsSceneSource(SettingsSceneSource* source, SettingsStore* store, BuildFiles* files,
                             const char* baseFolder, SceneSound* sound, PictureCodec* codecs,
                             WalkListener* listener, SoundCodec* sounds) {
  std::memset(source, 0, sizeof *source);
  source->base.readTiming = ReadTiming;
  source->base.readTransparency = ReadTransparency;
  source->base.beginCharacter = BeginCharacter;
  source->base.loadFrame = LoadFrame;
  source->base.readMotion = ReadMotion;
  source->base.readBackground = ReadBackground;
  source->base.beginWallpaper = BeginWallpaper;
  source->base.nextWallpaperBand = NextWallpaperBand;
  source->bandBytes = kWallpaperBandBytes;
  source->base.startSound = StartSound;
  source->base.close = Close;
  source->base.wallpaperTaken = WallpaperTaken;
  source->base.continueSound = ContinueSound;
  source->sound = sound;
  source->sources = SceneWalkSources{store, files, baseFolder, codecs, listener, sounds};
}
