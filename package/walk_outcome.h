// What became of each file a settings file names, as the scene walk decided it: taken, taken with
// a note, or left out with a reason. The builder, the Create message, the designer's playback and
// every tool report these values; nothing is parsed back from text.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

enum WalkSubject { WalkFrame, WalkWallpaper, WalkSound, WalkOutput };

enum WalkReason {
  // Taken, with a note.
  NoteRepaired,            // detail: what was put right on the way in
  NoteTransparency,        // detail: how its transparency was decided
  NoteLaterFramesDamaged,  // number: the first frame of the picture that could not be read
  NoteFramesBeyondRoom,    // number: how many of the picture's frames the character uses
  NoteSoundCutShort,       // the wave could not be read whole: the rest of it is silence
  NoteWallpaperScaled,     // number: the new width << 16 | height, the largest a saver carries
  NoteWallpaperCut,        // number: as for NoteWallpaperScaled; its middle at natural size is kept
  // Left out.
  LeftMissing,             // no file of that name
  LeftUnopenable,          // there, but it cannot be opened (detail: the system's words)
  LeftNameTooLong,         // detail: why the name cannot be made a path
  LeftNotTaken,            // not a picture or sound this program takes (detail: why)
  LeftSoundNotStorable,    // number: the SoundFormat, which cannot be stored playable here (detail: why)
  LeftDamaged,             // detail: the reader's words
  LeftOverLimit,           // number: the limit in bytes
  LeftNeverShown,          // the character's appearance rate is 0
  LeftAfterEndedRun,       // number: the slot whose file ended the character's frames
  LeftAfterEmptySlot,      // number: the empty slot that ended the character's frames
  LeftNoRoom,              // the pictures before already give the character all its frames
  // The saver itself.
  OutputNotWritten         // detail: why (also for a player image that could not be had)
};

struct WalkOutcome {
  WalkSubject subject;
  int character;      // frames: 0 to 19
  int slot;           // frames: 0 to 9
  const char* named;  // the file as the settings name it
  WalkReason reason;
  uint32_t number;
  const char* detail;  // may be null
};

bool IsLeftOut(WalkReason reason);

// Where each outcome goes as it is decided: a tool's standard error, the Create message, a test.
struct WalkListener {
  void (*heard)(WalkListener* listener, const WalkOutcome& outcome);
};

// "frame A2 fish.png" / "wallpaper sea.jpg" / "sound waves.wav": the subject and the name.
size_t DescribeWalkSubject(const WalkOutcome& outcome, char* text, size_t size);
// The reason in the words every tool prints, e.g. "no file of that name; the character's
// frames end here" (the tools put "left out: " or "note: " before it).
size_t DescribeWalkReason(const WalkOutcome& outcome, char* text, size_t size);

// One line to a terminal or a log: "PROGRAM: SUBJECT: REASON".
void PrintWalkOutcome(std::FILE* out, const char* program, const WalkOutcome& outcome);
