#include "walk_outcome.h"

#include "wallpaper_fit.h"

#include <cstdio>

#include "settings_limits.h"
#include "sound_format.h"

namespace {

// snprintf's count, kept within the buffer.
size_t Fitted(int written, size_t size) {
  if (written < 0 || size == 0) return 0;
  return static_cast<size_t>(written) < size ? static_cast<size_t>(written) : size - 1;
}

const char* Or(const char* detail, const char* otherwise) { return detail ? detail : otherwise; }

}  // namespace

bool IsLeftOut(WalkReason reason) {
  return reason >= LeftMissing && reason <= LeftNoRoom;
}

size_t DescribeWalkSubject(const WalkOutcome& outcome, char* text, size_t size) {
  const char* named = outcome.named ? outcome.named : "";
  const char* space = *named ? " " : "";
  switch (outcome.subject) {
    case WalkFrame:
      return Fitted(std::snprintf(text, size, "frame %c%c%s%s", 'A' + outcome.character, '0' + outcome.slot, space,
                                  named),
                    size);
    case WalkWallpaper: return Fitted(std::snprintf(text, size, "wallpaper%s%s", space, named), size);
    case WalkSound: return Fitted(std::snprintf(text, size, "sound%s%s", space, named), size);
    default: return Fitted(std::snprintf(text, size, "saver%s%s", space, named), size);
  }
}

size_t DescribeWalkReason(const WalkOutcome& o, char* text, size_t size) {
  const char* ends = o.subject == WalkFrame ? "; the character's frames end here" : "";
  const unsigned n = o.number;
  const char* d = o.detail;
  int written = 0;
  switch (o.reason) {
    case NoteRepaired:
    case NoteTransparency:
      written = n > 1 ? std::snprintf(text, size, "frame %u of the picture: %s", n, Or(d, ""))
                      : std::snprintf(text, size, "%s", Or(d, ""));
      break;
    case NoteLaterFramesDamaged:
      written = std::snprintf(text, size, "frames from %u on cannot be read (%s); the frames before are kept", n,
                              Or(d, "damaged"));
      break;
    case NoteFramesBeyondRoom:
      written = std::snprintf(text, size,
                              "the picture has more frames than the character has room for; %u of them are used",
                              n);
      break;
    case NoteSoundCutShort:
      written = std::snprintf(text, size, "the file could not be read whole; the rest of the sound is silence");
      break;
    case NoteWallpaperScaled:
      written = std::snprintf(text, size, "larger than %d x %d: scaled down to %u x %u once, for every screen",
                              kMaxWallpaperWidth, kMaxWallpaperHeight, n >> 16, n & 0xFFFF);
      break;
    case NoteWallpaperCut:
      written = std::snprintf(text, size, "larger than %d x %d: cut to its middle %u x %u, all that a screen shows",
                              kMaxWallpaperWidth, kMaxWallpaperHeight, n >> 16, n & 0xFFFF);
      break;
    case LeftMissing: written = std::snprintf(text, size, "no file of that name%s", ends); break;
    case LeftUnopenable:
      written = std::snprintf(text, size, "the file cannot be opened (%s)%s", Or(d, "refused"), ends);
      break;
    case LeftNameTooLong:
      written = std::snprintf(text, size, "the name cannot be used (%s)%s", Or(d, "too long"), ends);
      break;
    case LeftNotTaken:
      written = std::snprintf(text, size, "not a %s this program takes (%s)",
                              o.subject == WalkSound ? "sound" : "picture", Or(d, "unknown format"));
      break;
    case LeftSoundNotStorable:
      written = n == SoundUnknown || n >= static_cast<unsigned>(kSoundFormatCount)
                    ? std::snprintf(text, size, "not a wave, MP3, Ogg or FLAC file, the sounds this program takes")
                    : std::snprintf(text, size,
                                    "a sound in %s form, which this program cannot store as a wave the players "
                                    "play (%s)",
                                    SoundFormatName(static_cast<SoundFormat>(n)), Or(d, "no decoder"));
      break;
    case LeftDamaged:
      written = std::snprintf(text, size, "the file cannot be read (%s)", Or(d, "damaged"));
      break;
    case LeftOverLimit:
      written = std::snprintf(text, size, "over the limit of %u MiB%s%s", n >> 20, d ? ": " : "", Or(d, ""));
      break;
    case LeftNeverShown:
      written = std::snprintf(text, size, "the character's appearance rate is 0, so it is never shown");
      break;
    case LeftAfterEndedRun:
      written = std::snprintf(text, size, "the frames ended at slot %c%c, whose file could not be opened",
                              'A' + o.character, '0' + n);
      break;
    case LeftAfterEmptySlot:
      written = std::snprintf(text, size,
                              "slot %c%c before it is empty, and a character's frames are the unbroken "
                              "run from its first slot",
                              'A' + o.character, '0' + n);
      break;
    case LeftNoRoom:
      written = std::snprintf(text, size, "the pictures before already give the character its 10 frames");
      break;
    case OutputNotWritten:
      written = std::snprintf(text, size, "not written: %s", Or(d, "unknown problem"));
      break;
  }
  return Fitted(written, size);
}

void PrintWalkOutcome(std::FILE* out, const char* program, const WalkOutcome& outcome) {
  char subject[kSettingBufferSize + 32];
  char reason[512];
  DescribeWalkSubject(outcome, subject, sizeof subject);
  DescribeWalkReason(outcome, reason, sizeof reason);
  const char* verdict = IsLeftOut(outcome.reason) ? "left out: " : outcome.reason < LeftMissing ? "note: " : "";
  std::fprintf(out, "%s: %s: %s%s\n", program, subject, verdict, reason);
}
