#include "package_builder.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bitmap_intake.h"
#include "character_keys.h"
#include "input_path.h"
#include "package_records.h"
#include "package_writer.h"
#include "picture_intake.h"
#include "scene_settings.h"

namespace {

const size_t kCopyChunk = 64 * 1024;
// Bitmaps keep their own pixels; no look applies to them.
const PictureLook kBitmapLook = {false, 0};

// The output file with the builder's write check: every write that does not store all of its
// bytes turns the status to "1" and the build goes on.
class CheckedOutput : public ByteSink {
 public:
  CheckedOutput(BuildFiles* files, BuildFiles::Handle file, char* status, BuildDiagnostics* diagnostics,
                const char* path)
      : files_(files), file_(file), status_(status), diagnostics_(diagnostics), path_(path) {}

  size_t Write(const void* data, size_t size) override {
    size_t put = files_->Write(file_, data, size);
    if (put != size) {
      *status_ = kBuildFailedStatus;
      // One message is enough: a full disk fails every write after the first.
      if (!reported_ && diagnostics_) diagnostics_->Report(BuildFailed, "output", path_, files_->LastError());
      reported_ = true;
    }
    return put;
  }

  bool Failed() const { return reported_; }

 private:
  BuildFiles* files_;
  BuildFiles::Handle file_;
  char* status_;
  BuildDiagnostics* diagnostics_;
  const char* path_;
  bool reported_ = false;
};

struct Build {
  const BuildSources& sources;
  CheckedOutput* output;
  char* status;
  TimingRecord timing;
  bool looksKnown;  // the looks below are read when the first picture needs them
  PictureLook spriteLook;
  PictureLook wallpaperLook;

  // How a decoded picture's transparent pixels are written in a frame or the wallpaper. Read
  // only for the first picture that needs it, so a scene of bitmaps reads exactly the settings
  // it always read.
  const PictureLook& Look(bool sprite) {
    if (!looksKnown) {
      spriteLook = ReadPictureLook(sources.settings, timing, true);
      wallpaperLook = ReadPictureLook(sources.settings, timing, false);
      looksKnown = true;
    }
    return sprite ? spriteLook : wallpaperLook;
  }

  void Report(BuildIssueKind kind, const char* record, const char* path, const char* why) {
    if (kind == BuildFailed) *status = kBuildFailedStatus;
    if (sources.diagnostics) sources.diagnostics->Report(kind, record, path, why);
  }

  size_t Text(const char* section, const char* key, const char* fallback, char* value) {
    return sources.settings->ReadText(section, key, fallback, value);
  }

  int32_t Integer(const char* section, const char* key, const char* fallback) {
    return ReadIntegerSetting(sources.settings, section, key, fallback);
  }

  // A setting's file name as the files seam sees it; false (reported) when it cannot be formed.
  bool Resolve(const char* record, const char* path, char* resolved) {
    const char* why = nullptr;
    if (ResolveInputPath(sources.baseFolder, path, kNativePathStyle, resolved, kMaxInputPath, &why)) return true;
    Report(BuildLeftOut, record, path, why);
    return false;
  }

  bool CanOpen(const char* path) {
    BuildFiles::Handle file = sources.files->OpenForReading(path);
    if (!file) return false;
    sources.files->Close(file);
    return true;
  }

  void CopyPlayerImageMemoAndTiming();
  void WriteCharacters();
  void NoteSlotsLeftOut(int character, int slot);
  void WriteBackgroundAndSound();
  void WriteSound();
};

void Build::CopyPlayerImageMemoAndTiming() {
  const char* why = "player image could not be read";
  if (const uint8_t* image = sources.player->PlayerImage(&why)) {
    output->Write(image, kPlayerImageSize);
  } else {
    Report(BuildFailed, "player image", nullptr, why);
    // Zeros in its place, so that the package still starts at offset 49152.
    static const uint8_t kZeros[4096] = {};
    static_assert(kPlayerImageSize % sizeof kZeros == 0, "whole blocks of zeros");
    for (uint32_t at = 0; at < kPlayerImageSize; at += sizeof kZeros) output->Write(kZeros, sizeof kZeros);
  }

  char key[] = "Memo1";
  for (uint32_t line = 0; line < kMemoLineCount; ++line) {
    key[4] = static_cast<char>('1' + line);
    char text[kSettingBufferSize];
    uint32_t length = static_cast<uint32_t>(Text("Module", key, "", text));
    WriteMemoLine(output, text, length);
  }

  timing = ReadTimingSettings(sources.settings);
  WriteTimingRecord(output, timing);
}

// The frames of one named file, each read whole into a record before anything of it is
// written, so that a file or frame that fails leaves no partial record behind. Refusals and
// notes are reported here under the record's name ("frame A0", "wallpaper").
class FileFrames {
 public:
  FileFrames(Build* build, const char* record, const char* resolved, bool sprite)
      : build_(build), record_(record), resolved_(resolved), sprite_(sprite) {
    const char* why = nullptr;
    open_ = OpenPictureFile(&file_, build->sources.files, resolved, build->sources.codecs, &why);
    if (!open_) build->Report(BuildFailed, record, resolved, why);
  }

  ~FileFrames() { ClosePictureFile(&file_); }

  // The next frame's record, which the caller releases; false when the file has no more.
  bool Next(BitmapRecord* record) {
    if (!open_) return false;
    int notes = 0;
    const char* why = nullptr;
    PictureStep step = NextPictureFileFrame(&file_, Look(), record, &notes, &why);
    if (step == PictureFrameReady) {
      for (uint32_t repair = 1; repair <= kLastBitmapRepair; repair <<= 1)
        if (record->repairs & repair) Note(BitmapRepairText(repair));
      for (int note = 1; note < (1 << kLookNoteCount); note <<= 1)
        if (notes & note) Note(PictureLookNoteText(note));
      return true;
    }
    if (step == PictureDamaged && file_.delivered == 0) build_->Report(BuildFailed, record_, resolved_, why);
    if (step == PictureDamaged && file_.delivered > 0) {
      char text[320];
      std::snprintf(text, sizeof text, "frames from %u on cannot be read (%s); the frames before are kept",
                    file_.delivered + 1, why);
      build_->Report(BuildNote, record_, resolved_, text);
    }
    open_ = false;
    return false;
  }

  // The caller took all it had room for: says so when the picture had more.
  void NoteFramesLeftOut() {
    const uint32_t taken = file_.delivered;
    BitmapRecord extra;
    int notes = 0;
    const char* why = nullptr;
    if (!open_ || NextPictureFileFrame(&file_, Look(), &extra, &notes, &why) != PictureFrameReady) return;
    ReleaseBitmapRecord(&extra);
    char text[160];
    std::snprintf(text, sizeof text, "the picture has more frames than the character has room for; %u of them are used",
                  taken);
    build_->Report(BuildNote, record_, resolved_, text);
  }

  // Whether the file was refused before it gave any frame.
  bool Refused() const { return file_.delivered == 0; }

 private:
  const PictureLook& Look() { return file_.decoding ? build_->Look(sprite_) : kBitmapLook; }

  // A note about one frame of an animation says which.
  void Note(const char* text) {
    if (file_.delivered <= 1) {
      build_->Report(BuildNote, record_, resolved_, text);
      return;
    }
    char numbered[320];
    std::snprintf(numbered, sizeof numbered, "frame %u of the picture: %s", file_.delivered, text);
    build_->Report(BuildNote, record_, resolved_, numbered);
  }

  Build* build_;
  const char* record_;
  const char* resolved_;
  bool sprite_;
  PictureFile file_;
  bool open_;
};

void Build::WriteCharacters() {
  for (int index = 0; index < kCharacterCount; ++index) {
    const SettingKey visibleKey = MotionKey(index, 'A');
    int frames = 0;
    for (int slot = 0; slot < kFrameSlotCount; ++slot) {
      const SettingKey frameKey = FrameKey(index, slot);
      char record[16] = "frame ";
      std::strcat(record, frameKey.text);
      int32_t rate = Integer("Visible", visibleKey.text, "10");
      char path[kSettingBufferSize];
      if (Text("Character", frameKey.text, "", path) == 0 || rate == 0) break;
      char resolved[kMaxInputPath];
      if (!Resolve(record, path, resolved)) break;
      if (!CanOpen(resolved)) {
        Report(BuildLeftOut, record, resolved, "file cannot be opened; the character's frames end here");
        break;
      }
      // An animated picture gives its frames from this slot on, as many as there is room for.
      FileFrames file(this, record, resolved, true);
      BitmapRecord bitmap;
      while (frames < kFrameSlotCount && file.Next(&bitmap)) {
        WriteFrameRecord(output, BitmapRecordParts(bitmap));
        ReleaseBitmapRecord(&bitmap);
        ++frames;
      }
      if (frames == kFrameSlotCount) file.NoteFramesLeftOut();
      // Counted even when it failed: the character keeps its motion record, the status says the rest.
      if (file.Refused()) ++frames;
      if (frames >= kFrameSlotCount) {
        NoteSlotsLeftOut(index, slot + 1);
        break;
      }
    }
    if (frames > 0) WriteMotionRecord(output, ReadMotionSettings(sources.settings, index));
  }
}

// An animation filled the character's frames before its last slot: a file named in a later slot
// is not silently dropped.
void Build::NoteSlotsLeftOut(int character, int slot) {
  if (slot >= kFrameSlotCount) return;
  const SettingKey frameKey = FrameKey(character, slot);
  char record[16] = "frame ";
  std::strcat(record, frameKey.text);
  char path[kSettingBufferSize];
  if (Text("Character", frameKey.text, "", path) == 0) return;
  Report(BuildLeftOut, record, path,
         "the pictures before already give the character its 10 frames; this slot and those after it are left out");
}

void Build::WriteBackgroundAndSound() {
  BackgroundRecord background = ReadBackgroundSettings(sources.settings);

  char path[kSettingBufferSize];
  size_t pathLength = Text("BackGround", "Bmp", "", path);
  // The flag must tell truly whether a wallpaper record follows, so the file is taken in full
  // before the flag is written; a wallpaper that cannot be taken is left out with its flag.
  BitmapRecord wallpaper;
  bool haveWallpaper = false;
  if (background.wallpaper != 0) {
    char resolved[kMaxInputPath];
    if (pathLength == 0) {
      background.wallpaper = 0;
    } else if (!Resolve("wallpaper", path, resolved)) {
      background.wallpaper = 0;
    } else if (!CanOpen(resolved)) {
      Report(BuildLeftOut, "wallpaper", resolved, "file cannot be opened; written without wallpaper");
      background.wallpaper = 0;
    } else {
      // A wallpaper is one picture: an animation gives its first frame.
      FileFrames file(this, "wallpaper", resolved, false);
      haveWallpaper = file.Next(&wallpaper);
      if (!haveWallpaper) background.wallpaper = 0;
    }
  }
  WriteBackgroundRecord(output, background);
  if (haveWallpaper) {
    WriteFrameRecord(output, BitmapRecordParts(wallpaper));
    ReleaseBitmapRecord(&wallpaper);
  }
  WriteSound();
}

void Build::WriteSound() {
  int32_t enabled = Integer("BackGround", "SoundOpt", "0");
  char path[kSettingBufferSize];
  size_t pathLength = Text("BackGround", "Sound", "", path);
  char resolved[kMaxInputPath];
  uint32_t length = 0;
  BuildFiles* files = sources.files;
  BuildFiles::Handle file = nullptr;
  if (enabled != 0 && pathLength > 0 && Resolve("sound", path, resolved)) {
    file = files->OpenForReading(resolved);
    uint64_t size = 0;
    if (!file) {
      Report(BuildLeftOut, "sound", resolved, "file cannot be opened; written without sound");
    } else if (!files->SizeOf(file, &size)) {
      Report(BuildLeftOut, "sound", resolved, "file size cannot be determined; written without sound");
    } else if (size > 0xFFFFFFFFu) {
      Report(BuildLeftOut, "sound", resolved, "file larger than 4 GiB; written without sound");
    } else {
      length = static_cast<uint32_t>(size);
    }
  }
  WriteSoundHeader(output, length);
  if (length == 0) {
    if (file) files->Close(file);
    return;
  }

  // Copied in pieces: the wave never has to fit in memory at once.
  uint8_t* chunk = static_cast<uint8_t*>(std::malloc(kCopyChunk));
  if (!chunk) {
    Report(BuildFailed, "sound", resolved, "not enough memory to copy the wave data");
    files->Close(file);
    return;
  }
  bool complete = files->Seek(file, 0);
  uint32_t left = length;
  while (left > 0) {
    size_t piece = left < kCopyChunk ? left : kCopyChunk;
    size_t got = complete ? ReadFully(files, file, chunk, piece) : 0;
    if (got < piece) {
      // The file shrank since its size was taken: keep the record whole, but it is a failure.
      complete = false;
      std::memset(chunk + got, 0, piece - got);
    }
    output->Write(chunk, piece);
    left -= static_cast<uint32_t>(piece);
  }
  if (!complete) Report(BuildFailed, "sound", resolved, "wave file ended before its size; the rest is zeros");
  std::free(chunk);
  files->Close(file);
}

}  // namespace

void BuildPackagedSaver(const BuildSources& sources, const char* outputPath, char* status) {
  // The package is written beside the output and takes its name only when all of it was
  // stored, so that a full disk or a vanished folder never costs the user the saver they had.
  BuildFiles::Handle file = sources.files->CreateReplacement(outputPath);
  if (!file) {
    *status = kBuildFailedStatus;
    if (sources.diagnostics) sources.diagnostics->Report(BuildFailed, "output", outputPath, sources.files->LastError());
    return;
  }
  CheckedOutput output(sources.files, file, status, sources.diagnostics, outputPath);
  Build build = {sources, &output, status, TimingRecord(), false, PictureLook(), PictureLook()};
  build.CopyPlayerImageMemoAndTiming();
  build.WriteCharacters();
  build.WriteBackgroundAndSound();
  // A record left out for a bad input still leaves a whole package; a failed write does not.
  bool whole = !output.Failed();
  if (!sources.files->FinishReplacement(file, whole)) {
    build.Report(BuildFailed, "output", outputPath, sources.files->LastError());
    whole = false;
  }
  if (!whole) build.Report(BuildNote, "output", outputPath, "nothing was written; a file of that name was left as it was");
}
