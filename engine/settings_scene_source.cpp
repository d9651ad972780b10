#include "settings_scene_source.h"

#include <cstring>

#include "character_keys.h"
#include "dib_record.h"
#include "input_path.h"
#include "picture_intake.h"
#include "scene_model.h"
#include "scene_settings.h"
#include "settings_store.h"

namespace {

SettingsSceneSource* Self(SceneSource* source) {
  return reinterpret_cast<SettingsSceneSource*>(source);
}

int32_t Integer(SceneSource* source, const char* section, const char* key, const char* fallback) {
  return ReadIntegerSetting(Self(source)->store, section, key, fallback);
}

void ReadTiming(SceneSource* source, int32_t* redrawPeriod, int32_t* multiplier) {
  SettingsSceneSource* self = Self(source);
  self->timing = ReadTimingSettings(self->store);
  // How the named pictures' transparent pixels are written: as the builder writes them.
  self->spriteLook = ReadPictureLook(self->store, self->timing, true);
  self->wallpaperLook = ReadPictureLook(self->store, self->timing, false);
  *redrawPeriod = self->timing.redrawPeriod;
  *multiplier = self->timing.frameMultiplier;
}

uint8_t ReadTransparency(SceneSource* source) {
  return Self(source)->timing.transparent;
}

void CloseFile(SettingsSceneSource* self) {
  if (self->fileOpen) ClosePictureFile(&self->file);
  self->fileOpen = false;
}

// The open picture's next frame as the packaged saver would show it: the record the builder
// would write, drawn by the player's own record check and surface layer. False, with the file
// closed, when the picture has no further frame.
bool NextFrameSurface(SettingsSceneSource* self, bool sprite, const Surface* reference, Surface** picture) {
  BitmapRecord record;
  int notes = 0;
  const char* why = nullptr;
  const PictureLook look =
      !self->file.decoding ? PictureLook{false, 0} : sprite ? self->spriteLook : self->wallpaperLook;
  if (!self->fileOpen || NextPictureFileFrame(&self->file, look, &record, &notes, &why) != PictureFrameReady) {
    CloseFile(self);
    return false;
  }
  uint8_t info[kMaxPackedInfoSize];
  const uint32_t infoSize = PackBitmapInfo(record, info);
  *picture = LoadRecordSurface(reference, info, infoSize, record.bits, record.bitsSize);
  ReleaseBitmapRecord(&record);
  return true;
}

// Opens the named picture for its frames; false when it cannot be had.
bool OpenFile(SettingsSceneSource* self, const char* name) {
  CloseFile(self);
  char path[kMaxInputPath];
  if (!ResolveInputPath(self->baseFolder, name, kNativePathStyle, path, sizeof path)) return false;
  const char* why = nullptr;
  self->fileOpen = OpenPictureFile(&self->file, self->files, path, self->codecs, &why);
  if (!self->fileOpen) ClosePictureFile(&self->file);
  return self->fileOpen;
}

bool HasFirstFrame(SettingsSceneSource* self, int character) {
  char path[kSettingBufferSize];
  return self->store->ReadText("Character", FrameKey(character, 0).text, "", path) > 0;
}

// A letter without a first frame takes no character slot, so the characters that follow move
// up as they do in a package.
bool BeginCharacter(SceneSource* source) {
  SettingsSceneSource* self = Self(source);
  while (self->nextCharacter < kCharacterCount) {
    int character = self->nextCharacter++;
    if (HasFirstFrame(self, character)) {
      CloseFile(self);
      self->currentCharacter = character;
      self->nextSlot = 0;
      return true;
    }
  }
  return false;
}

// The frames of the named slots in turn, as in a package: an animated picture gives each of its
// frames before the next slot is read. A named file that does not load still holds its slot,
// drawn as nothing.
bool LoadFrame(SceneSource* source, int slot, const Surface* reference, Surface** sprite) {
  SettingsSceneSource* self = Self(source);
  if (slot >= kFrameSlotCount) return false;
  if (NextFrameSurface(self, true, reference, sprite)) return true;
  if (self->nextSlot >= kFrameSlotCount) return false;
  char name[kSettingBufferSize];
  if (self->store->ReadText("Character", FrameKey(self->currentCharacter, self->nextSlot).text, "", name) == 0)
    return false;
  ++self->nextSlot;
  *sprite = nullptr;
  if (OpenFile(self, name)) NextFrameSurface(self, true, reference, sprite);
  return true;
}

bool ReadMotion(SceneSource* source, CharacterState* c) {
  TakeMotionRecord(ReadMotionSettings(Self(source)->store, Self(source)->currentCharacter), c);
  return true;
}

bool ReadBackground(SceneSource* source, SceneBackground* background) {
  *background = BackgroundOfRecord(ReadBackgroundSettings(Self(source)->store));
  return true;
}

Surface* LoadWallpaper(SceneSource* source, const Surface* reference) {
  SettingsSceneSource* self = Self(source);
  char path[kSettingBufferSize];
  if (self->store->ReadText("BackGround", "Bmp", "", path) == 0) return nullptr;
  Surface* wallpaper = nullptr;
  // A wallpaper is one picture: an animation gives its first frame.
  if (OpenFile(self, path)) NextFrameSurface(self, false, reference, &wallpaper);
  CloseFile(self);
  return wallpaper;
}

void StartSound(SceneSource* source, SceneModel* scene) {
  SettingsSceneSource* self = Self(source);
  if (Integer(source, "BackGround", "SoundOpt", "0") == 0) return;
  char name[kSettingBufferSize];
  if (self->store->ReadText("BackGround", "Sound", "", name) == 0) return;
  char path[kMaxInputPath];
  if (!ResolveInputPath(self->baseFolder, name, kNativePathStyle, path, sizeof path)) return;
  // Marked as playing so that the window's end stops it, as the player's sound is stopped.
  if (self->sound->playFile(self->sound, scene->host, path)) scene->soundPlaying = 1;
}

void Close(SceneSource* source) {
  CloseFile(Self(source));
}

}  // namespace

void OpenSettingsSceneSource(SettingsSceneSource* source, SettingsStore* store, BuildFiles* files,
                             const char* baseFolder, SceneSound* sound, PictureCodec* codecs) {
  std::memset(source, 0, sizeof *source);
  source->base.readTiming = ReadTiming;
  source->base.readTransparency = ReadTransparency;
  source->base.beginCharacter = BeginCharacter;
  source->base.loadFrame = LoadFrame;
  source->base.readMotion = ReadMotion;
  source->base.readBackground = ReadBackground;
  source->base.loadWallpaper = LoadWallpaper;
  source->base.startSound = StartSound;
  source->base.close = Close;
  source->store = store;
  source->files = files;
  source->baseFolder = baseFolder;
  source->sound = sound;
  source->codecs = codecs;
}
