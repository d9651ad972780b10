#include "package_builder.h"

#include <cstring>

#include "package_records.h"
#include "package_writer.h"
#include "picture_intake.h"
#include "scene_walk.h"
#include "setting_table.h"

namespace {

const size_t kCopyChunk = 16 * 1024;

// Between the walk and the caller's listener: a picture that could not be read is a failure of
// the build, as it has always been; a file that is not there is only left out.
struct BuildListener {
  WalkListener base;
  WalkListener* caller;
  char* status;
};

void HearInBuild(WalkListener* listener, const WalkOutcome& outcome) {
  BuildListener* self = reinterpret_cast<BuildListener*>(listener);
  const bool unreadable = outcome.reason == LeftDamaged || outcome.reason == LeftNotTaken ||
                          (outcome.reason == LeftOverLimit && outcome.subject != WalkSound);
  if (outcome.reason == OutputNotWritten || outcome.reason == NoteSoundCutShort ||
      (unreadable && outcome.subject != WalkSound))
    *self->status = kBuildFailedStatus;
  if (self->caller) self->caller->heard(self->caller, outcome);
}

// The output file with the builder's write check: every write that does not store all of its
// bytes turns the status to "1" and the build goes on.
struct CheckedOutput {
  ByteSink base;
  BuildFiles* files;
  BuildFiles::Handle file;
  WalkListener* listener;
  const char* path;
  bool failed;
};

size_t WriteChecked(ByteSink* sink, const void* data, size_t size) {
  CheckedOutput* self = reinterpret_cast<CheckedOutput*>(sink);
  BuildFiles* files = self->files;
  size_t put = files->write(files, self->file, data, size);
  // One message is enough: a full disk fails every write after the first.
  if (put != size && !self->failed) {
    self->failed = true;
    const WalkOutcome outcome = {WalkOutput, 0, 0, self->path, OutputNotWritten,
                                 static_cast<uint32_t>(files->lastErrorNumber(files)), files->lastError(files)};
    self->listener->heard(self->listener, outcome);
  }
  return put;
}

void CopyPlayerImage(const BuildSources& sources, ByteSink* output, WalkListener* listener) {
  const char* why = "player image could not be read";
  if (const uint8_t* image = sources.player->playerImage(sources.player, &why)) {
    output->write(output, image, kPlayerImageSize);
    return;
  }
  const WalkOutcome outcome = {WalkOutput, 0, 0, "player image", OutputNotWritten, 0, why};
  listener->heard(listener, outcome);
  // Zeros in its place, so that the package still starts at offset 49152.
  static const uint8_t kZeros[4096] = {};
  static_assert(kPlayerImageSize % sizeof kZeros == 0, "whole blocks of zeros");
  for (uint32_t at = 0; at < kPlayerImageSize; at += sizeof kZeros) output->write(output, kZeros, sizeof kZeros);
}

void WriteMemoLines(SettingsStore* settings, ByteSink* output) {
  for (uint32_t line = 0; line < kMemoLineCount; ++line) {
    char text[kSettingBufferSize];
    const size_t length = ReadSetting(settings, static_cast<SettingId>(kMemo1 + line), text);
    WriteMemoLine(output, text, static_cast<uint32_t>(length));
  }
}

void WriteFrame(ByteSink* output, BitmapRecord* record) {
  WriteFrameRecord(output, BitmapRecordParts(*record));
  ReleaseBitmapRecord(record);
}

// Copied in pieces: a wave stored as it is never has to fit in memory at once.
void CopySound(BuildFiles* files, const WalkSoundFile& sound, ByteSink* output, WalkListener* listener) {
  uint8_t chunk[kCopyChunk];
  bool complete = files->seek(files, sound.file, 0);
  for (uint32_t left = sound.length; left > 0;) {
    const size_t piece = left < kCopyChunk ? left : kCopyChunk;
    const size_t got = complete ? ReadFully(files, sound.file, chunk, piece) : 0;
    if (got < piece) {
      // The file shrank since its size was taken: the record stays whole, but it is a failure.
      complete = false;
      std::memset(chunk + got, 0, piece - got);
    }
    output->write(output, chunk, piece);
    left -= static_cast<uint32_t>(piece);
  }
  if (!complete) {
    const WalkOutcome outcome = {WalkSound, 0, 0, sound.named, NoteSoundCutShort, 0, nullptr};
    listener->heard(listener, outcome);
  }
}


// The package after the player image, in the order every player reads it. copySound: the
// wave's bytes are copied in; else only its length is counted, for a size that reads nothing more.
void WriteScene(const BuildSources& sources, ByteSink* output, WalkListener* listener, bool copySound,
                int* leftOut) {
  BuildFiles* files = sources.files;
  SceneWalk walk({sources.settings, files, sources.baseFolder, sources.codecs, listener, sources.sounds});
  WriteMemoLines(sources.settings, output);
  WriteTimingRecord(output, walk.Timing());
  BitmapRecord record;
  while (walk.NextCharacter()) {
    while (walk.NextFrame(&record)) WriteFrame(output, &record);
    WriteMotionRecord(output, walk.Motion());
  }
  // The wallpaper is read before the background record is written: one found damaged as its
  // rows are read clears the record's flag, as one refused at once does.
  BackgroundRecord background = walk.Background();
  const bool wallpaper = walk.TakeWallpaper(&record);
  if (!wallpaper) background.wallpaper = 0;
  WriteBackgroundRecord(output, background);
  if (wallpaper) WriteFrame(output, &record);
  WalkSoundFile sound;
  if (walk.Sound(&sound) && (!sound.toDecode || walk.DecodeSound(&sound))) {
    WriteSoundHeader(output, sound.length);
    if (sound.wave && copySound) output->write(output, sound.wave, sound.length);
    else if (copySound) CopySound(files, sound, output, listener);
    else output->write(output, nullptr, sound.length);
    ReleaseWalkSound(files, &sound);
  } else {
    WriteSoundHeader(output, 0);
  }
  *leftOut = walk.LeftOutCount();
}

// Counts what would be written.
struct CountingSink {
  ByteSink base;
  uint64_t count;
};

size_t Count(ByteSink* sink, const void*, size_t size) {
  reinterpret_cast<CountingSink*>(sink)->count += size;
  return size;
}

}  // namespace

bool BuildPackagedSaver(const BuildSources& sources, const char* outputPath, char* status) {
  BuildListener listener = {{HearInBuild}, sources.listener, status};
  // The package is written beside the output and takes its name only when all of it was
  // stored, so that a full disk or a vanished folder never costs the user the saver they had.
  BuildFiles* files = sources.files;
  BuildFiles::Handle file = files->createReplacement(files, outputPath);
  if (!file) {
    const WalkOutcome outcome = {WalkOutput, 0, 0, outputPath, OutputNotWritten,
                                 static_cast<uint32_t>(files->lastErrorNumber(files)), files->lastError(files)};
    HearInBuild(&listener.base, outcome);
    return false;
  }
  CheckedOutput checked = {{WriteChecked}, files, file, &listener.base, outputPath, false};
  ByteSink* output = &checked.base;
  CopyPlayerImage(sources, output, &listener.base);
  int leftOut = 0;
  WriteScene(sources, output, &listener.base, true, &leftOut);
  // A file left out for a bad input still leaves a whole package; a failed write does not, nor
  // does any file left out when only a whole scene may be written.
  const bool whole = !checked.failed && !(sources.wholeOnly && leftOut > 0);
  const bool written = files->finishReplacement(files, file, whole) && whole;
  if (whole && !written) {
    const WalkOutcome outcome = {WalkOutput, 0, 0, outputPath, OutputNotWritten,
                                 static_cast<uint32_t>(files->lastErrorNumber(files)), files->lastError(files)};
    HearInBuild(&listener.base, outcome);
  }
  if (!written) *status = kBuildFailedStatus;
  return written;
}

uint64_t MeasurePackagedSaver(const BuildSources& sources) {
  CountingSink counter = {{Count}, kPlayerImageSize};
  WalkListener silent = {[](WalkListener*, const WalkOutcome&) {}};
  int leftOut = 0;
  WriteScene(sources, &counter.base, sources.listener ? sources.listener : &silent, false, &leftOut);
  return counter.count;
}
