// Where files dropped on a page, or chosen together in the Browse dialog, go. Each file is first
// looked at as the scene walk looks at it (the picture intake, then the wave check), so that a
// file refused here is refused for the reason the walk would give, in the same words.
#pragma once
#include <cstdint>

#include "build_files.h"
#include "picture_codec.h"
#include "settings_limits.h"
#include "walk_outcome.h"

enum DroppedKind { DroppedPicture, DroppedSound, DroppedRefused };

struct DroppedFile {
  DroppedKind kind;
  int frames;         // a picture's frames, counted up to kFrameSlotCount + 1
  WalkReason reason;  // refused: why, as the walk would say it
  uint32_t number;
  char detail[160];
};

void ExamineDroppedFile(BuildFiles* files, PictureCodec* codecs, const char* path, DroppedFile* file);

// Pictures dropped on an Image page. filled: which of its ten fields hold a name; target: the
// field dropped on, or -1 for the first empty one; framesBefore[s]: how many frames the files of
// the fields before s give (framesBefore[0] is 0). Files go into consecutive fields, each taking
// as many of the character's ten frames as it has; a file that finds no field or no frame left
// becomes refused (LeftNoRoom), and an animation with more frames than are left keeps its field
// with a note (NoteFramesBeyondRoom, number: the frames it gives). slots[i] is the field of file
// i, -1 for a refused one.
void PlaceDroppedFrames(const bool filled[kFrameSlotCount], int target, const int framesBefore[kFrameSlotCount + 1],
                        DroppedFile* files, int count, int* slots);

// A drop on the Background page: the last picture becomes the wallpaper and the last sound the
// sound, as choosing each again would; -1 where none was dropped.
struct BackgroundDrop {
  int wallpaper, sound;
};
BackgroundDrop PlaceDroppedBackground(const DroppedFile* files, int count);
