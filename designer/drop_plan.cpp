#include "drop_plan.h"

#include <cstring>

#include "picture_intake.h"
#include "scene_walk.h"
#include "sound_format.h"

namespace {

void Refuse(DroppedFile* file, WalkReason reason, uint32_t number, const char* detail) {
  file->kind = DroppedRefused;
  file->reason = reason;
  file->number = number;
  file->detail[0] = '\0';
  if (detail) {
    std::strncpy(file->detail, detail, sizeof file->detail - 1);
    file->detail[sizeof file->detail - 1] = '\0';
  }
}

// A file that is no picture may be a sound: told by its first bytes, as the walk tells it. Whether
// it can be stored playable is the walk's to say when the scene is played or built.
bool IsSound(BuildFiles* files, const char* path) {
  BuildFiles::Handle handle = files->openForReading(files, path);
  if (!handle) return false;
  static_assert(kSoundHeadBytes <= 64 * 1024, "the head is read on the stack");
  uint8_t head[kSoundHeadBytes];
  const size_t got = ReadFully(files, handle, head, sizeof head);
  files->close(files, handle);
  return got > 0 && SniffSoundFormat(head, got) != SoundUnknown;
}

}  // namespace

void ExamineDroppedFile(BuildFiles* files, PictureCodec* codecs, const char* path, DroppedFile* file) {
  std::memset(file, 0, sizeof *file);
  PictureFile picture;
  std::memset(&picture, 0, sizeof picture);
  const char* why = nullptr;
  PictureOpening opening = PictureUnreadable;
  if (OpenPictureFile(&picture, files, path, codecs, &why, &opening)) {
    // The frames are counted as the walk takes them; one past the ten a character holds is enough.
    const PictureLook look = {false, 0};
    BitmapRecord record;
    int notes = 0;
    PictureStep step = PictureFrameReady;
    while (file->frames <= kFrameSlotCount &&
           (step = NextPictureFileFrame(&picture, look, &record, &notes, &why)) == PictureFrameReady) {
      ReleaseBitmapRecord(&record);
      ++file->frames;
    }
    if (file->frames > 0) {
      file->kind = DroppedPicture;
    } else {
      Refuse(file, LeftDamaged, 0, why);
    }
    ClosePictureFile(&picture);
    return;
  }
  const bool missing = opening == PictureNotOpened && IsMissing(files->lastErrorNumber(files));
  // Copied before the picture is closed: the codec may hold the words.
  Refuse(file, LeftOutReason(opening, missing), opening == PictureTooLarge ? kMaxBitmapBytes : 0, missing ? nullptr : why);
  ClosePictureFile(&picture);
  if (opening == PictureNotAPicture && IsSound(files, path)) {
    file->kind = DroppedSound;
    file->frames = 0;
  }
}

void PlaceDroppedFrames(const bool filled[kFrameSlotCount], int target, const int framesBefore[kFrameSlotCount + 1],
                        DroppedFile* files, int count, int* slots) {
  int field = target;
  if (field < 0 || field >= kFrameSlotCount) {
    field = 0;
    while (field < kFrameSlotCount && filled[field]) ++field;
  }
  int frames = field < kFrameSlotCount ? framesBefore[field] : kFrameSlotCount;
  for (int i = 0; i < count; ++i) {
    slots[i] = -1;
    DroppedFile& file = files[i];
    if (file.kind == DroppedSound) Refuse(&file, LeftNotTaken, 0, "a sound, not a picture");
    if (file.kind != DroppedPicture) continue;
    if (field >= kFrameSlotCount || frames >= kFrameSlotCount) {
      Refuse(&file, LeftNoRoom, 0, nullptr);
      continue;
    }
    slots[i] = field++;
    if (frames + file.frames > kFrameSlotCount) {
      file.reason = NoteFramesBeyondRoom;
      file.number = static_cast<uint32_t>(kFrameSlotCount - frames);
    }
    frames += file.frames;
  }
}

BackgroundDrop PlaceDroppedBackground(const DroppedFile* files, int count) {
  BackgroundDrop drop = {-1, -1};
  for (int i = 0; i < count; ++i) {
    if (files[i].kind == DroppedPicture) drop.wallpaper = i;
    if (files[i].kind == DroppedSound) drop.sound = i;
  }
  return drop;
}
