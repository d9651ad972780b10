// Files dropped on a page: what each is, as the walk would take it, and which fields they fill.
#include "drop_plan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "build_test_support.h"
#include "library_picture_codec.h"
#include "picture_fixtures.h"
#include "stdio_build_files.h"

namespace {

struct Examined {
  const char* name;
  DroppedKind kind;
  int frames;
  WalkReason reason;  // refused ones only
};

TEST(DropPlan, EachFileIsTakenOrRefusedAsTheWalkWould) {
  ScratchFolder folder;
  ASSERT_TRUE(WritePictureFixtures(folder.path() + "/"));
  WriteFileBytes(folder.Path("frame.bmp"), MakeBmp(8, 8, 24, 0, 0, 3));
  const uint8_t wave[] = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'};
  WriteFileBytes(folder.Path("chord.wav"), std::vector<uint8_t>(wave, wave + sizeof wave));
  WriteFileBytes(folder.Path("notes.txt"), std::vector<uint8_t>(40, 'a'));
  const uint8_t ogg[] = {'O', 'g', 'g', 'S', 0, 2, 0, 0, 0, 0, 0, 0};
  WriteFileBytes(folder.Path("song.ogg"), std::vector<uint8_t>(ogg, ogg + sizeof ogg));
  const Examined cases[] = {
      {"frame.bmp", DroppedPicture, 1, NoteRepaired},
      {"still.gif", DroppedPicture, 1, NoteRepaired},
      {"animated.gif", DroppedPicture, 5, NoteRepaired},
      {"anim12.gif", DroppedPicture, 11, NoteRepaired},  // counted only to one past ten
      {"chord.wav", DroppedSound, 0, NoteRepaired},
      {"notes.txt", DroppedRefused, 0, LeftNotTaken},
      {"song.ogg", DroppedSound, 0, NoteRepaired},  // a sound the walk decodes at build
      {"nowhere.png", DroppedRefused, 0, LeftMissing},
  };
  StdioBuildFiles files;
  LibraryPictureCodec codecs;
  OpenLibraryPictureCodec(&codecs);
  for (const Examined& c : cases) {
    SCOPED_TRACE(c.name);
    DroppedFile file;
    ExamineDroppedFile(&files, &codecs.base, folder.Path(c.name).c_str(), &file);
    EXPECT_EQ(file.kind, c.kind);
    EXPECT_EQ(file.frames, c.frames);
    if (c.kind == DroppedRefused) EXPECT_EQ(file.reason, c.reason);
  }
  // A refused picture keeps the intake's words for why.
  DroppedFile text;
  ExamineDroppedFile(&files, &codecs.base, folder.Path("notes.txt").c_str(), &text);
  EXPECT_NE(std::string(text.detail), "");
}

DroppedFile Picture(int frames) {
  DroppedFile file = {};
  file.kind = DroppedPicture;
  file.frames = frames;
  file.reason = NoteRepaired;
  return file;
}

DroppedFile Refused() {
  DroppedFile file = {};
  file.kind = DroppedRefused;
  file.reason = LeftNotTaken;
  return file;
}

struct Placement {
  const char* what;
  std::vector<int> filledFields;
  int target;
  std::vector<int> framesOfFilled;  // frames each filled field gives, in field order
  std::vector<DroppedFile> dropped;
  std::vector<int> slots;
  std::vector<WalkReason> reasons;  // NoteRepaired where nothing is said
  std::vector<uint32_t> numbers;    // where a note or refusal carries one, else 0
};

TEST(DropPlan, DroppedPicturesFillConsecutiveFieldsAndFrames) {
  const DroppedFile p1 = Picture(1), gif5 = Picture(5), gif11 = Picture(11), bad = Refused();
  DroppedFile sound = {};
  sound.kind = DroppedSound;
  const Placement cases[] = {
      {"three on an empty page", {}, -1, {}, {p1, p1, p1}, {0, 1, 2}, {NoteRepaired, NoteRepaired, NoteRepaired}, {0, 0, 0}},
      {"not on a field: from the first empty one", {0, 1, 3}, -1, {1, 1, 1}, {p1, p1}, {2, 3}, {NoteRepaired, NoteRepaired}, {0, 0}},
      {"on a field: over what it holds", {0, 1, 2}, 1, {1, 1, 1}, {p1}, {1}, {NoteRepaired}, {0}},
      {"a refused file takes no field", {}, 4, {}, {bad, p1}, {-1, 4}, {LeftNotTaken, NoteRepaired}, {0, 0}},
      {"a sound is no frame", {}, 0, {}, {sound, p1}, {-1, 0}, {LeftNotTaken, NoteRepaired}, {0, 0}},
      {"an animation takes its frames, the next file follows it", {}, 0, {}, {gif5, p1}, {0, 1}, {NoteRepaired, NoteRepaired}, {0, 0}},
      {"frames beyond ten: the animation is noted, what follows finds no room", {0}, 1, {1}, {gif11, p1},
       {1, -1}, {NoteFramesBeyondRoom, LeftNoRoom}, {9, 0}},
      {"the animations before the field count", {0}, 1, {5}, {gif5, p1}, {1, -1}, {NoteRepaired, LeftNoRoom}, {0, 0}},
      {"past the tenth field", {}, 8, {}, {p1, p1, p1}, {8, 9, -1}, {NoteRepaired, NoteRepaired, LeftNoRoom}, {0, 0, 0}},
      {"every field full and not dropped on one", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, -1, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, {p1},
       {-1}, {LeftNoRoom}, {0}},
  };
  for (const Placement& c : cases) {
    SCOPED_TRACE(c.what);
    bool filled[kFrameSlotCount] = {};
    int framesOfField[kFrameSlotCount] = {};
    for (size_t i = 0; i < c.filledFields.size(); ++i) {
      filled[c.filledFields[i]] = true;
      framesOfField[c.filledFields[i]] = c.framesOfFilled[i];
    }
    int framesBefore[kFrameSlotCount + 1] = {};
    for (int s = 1; s <= kFrameSlotCount; ++s) framesBefore[s] = framesBefore[s - 1] + framesOfField[s - 1];
    std::vector<DroppedFile> dropped = c.dropped;
    std::vector<int> slots(dropped.size(), -2);
    PlaceDroppedFrames(filled, c.target, framesBefore, dropped.data(), static_cast<int>(dropped.size()), slots.data());
    EXPECT_EQ(slots, c.slots);
    for (size_t i = 0; i < dropped.size(); ++i) {
      EXPECT_EQ(dropped[i].reason, c.reasons[i]) << "file " << i;
      EXPECT_EQ(dropped[i].number, c.numbers[i]) << "file " << i;
      EXPECT_EQ(dropped[i].kind == DroppedRefused, slots[i] < 0) << "file " << i;
    }
  }
}

TEST(DropPlan, OnTheBackgroundTheLastPictureAndTheLastSoundAreTaken) {
  DroppedFile sound = {};
  sound.kind = DroppedSound;
  const DroppedFile files[] = {Picture(1), sound, Refused(), Picture(5), sound};
  const BackgroundDrop all = PlaceDroppedBackground(files, 5);
  EXPECT_EQ(all.wallpaper, 3);
  EXPECT_EQ(all.sound, 4);
  const BackgroundDrop none = PlaceDroppedBackground(files + 2, 1);
  EXPECT_EQ(none.wallpaper, -1);
  EXPECT_EQ(none.sound, -1);
}

}  // namespace
