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
  TimingRecord timing = ReadTimingSettings(Self(source)->store);
  *redrawPeriod = timing.redrawPeriod;
  *multiplier = timing.frameMultiplier;
}

uint8_t ReadTransparency(SceneSource* source) {
  return ReadTimingSettings(Self(source)->store).transparent;
}

// The named picture as the packaged saver would show it: the record the builder would write,
// drawn by the player's own record check and surface layer. Null when it cannot be had.
Surface* LoadPicture(SettingsSceneSource* self, const char* name, const Surface* reference) {
  char path[kMaxInputPath];
  if (!ResolveInputPath(self->baseFolder, name, kNativePathStyle, path, sizeof path)) return nullptr;
  BitmapRecord record;
  const char* why = nullptr;
  if (!TakePictureFile(self->files, path, &record, &why)) return nullptr;
  uint8_t info[kMaxPackedInfoSize];
  const uint32_t infoSize = PackBitmapInfo(record, info);
  Surface* picture = LoadRecordSurface(reference, info, infoSize, record.bits, record.bitsSize);
  ReleaseBitmapRecord(&record);
  return picture;
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
      self->currentCharacter = character;
      return true;
    }
  }
  return false;
}

// A named file that does not load still holds its slot, drawn as nothing: the names alone
// decide how many frames a character has.
bool LoadFrame(SceneSource* source, int slot, const Surface* reference, Surface** sprite) {
  SettingsSceneSource* self = Self(source);
  if (slot >= kFrameSlotCount) return false;
  char path[kSettingBufferSize];
  if (self->store->ReadText("Character", FrameKey(self->currentCharacter, slot).text, "", path) == 0) return false;
  *sprite = LoadPicture(self, path, reference);
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
  return LoadPicture(self, path, reference);
}

void StartSound(SceneSource* source) {
  SettingsSceneSource* self = Self(source);
  if (Integer(source, "BackGround", "SoundOpt", "0") == 0) return;
  char name[kSettingBufferSize];
  if (self->store->ReadText("BackGround", "Sound", "", name) == 0) return;
  char path[kMaxInputPath];
  if (!ResolveInputPath(self->baseFolder, name, kNativePathStyle, path, sizeof path)) return;
  // Marked as playing so that the window's end stops it, as the player's sound is stopped.
  if (self->sound->playFile(self->sound, path)) scene.soundPlaying = 1;
}

void Close(SceneSource*) {}

}  // namespace

void OpenSettingsSceneSource(SettingsSceneSource* source, SettingsStore* store, BuildFiles* files,
                             const char* baseFolder, SceneSound* sound) {
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
}
