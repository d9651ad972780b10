#include "scene_walk.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bitmap_intake.h"
#include "byte_order.h"
#include "size_limits.h"
#include "input_path.h"
#include "scene_settings.h"
#include "setting_table.h"
#include "sound_decoding.h"
#include "wave_format.h"
#include "wallpaper_fit.h"

namespace {

// Bitmaps keep their own pixels; no look applies to them.
const PictureLook kBitmapLook = {false, 0, false};
// What the package holds besides frames, counted before them so that a large scene is cut at
// a frame, never inside the records every package ends with.
const uint64_t kFixedRecordBytes = kMemoLineCount * (4 + kMaxMemoLineLength) + kTimingRecordSize +
                                   kMaxBackgroundRecordSize + 5;

uint64_t FrameRecordBytes(const BitmapRecord& record) {
  return kFramePrefixSize + 40 + 4ull * record.colourCount + record.bitsSize;
}

}  // namespace

WalkReason LeftOutReason(PictureOpening opening, bool missing) {
  switch (opening) {
    case PictureNotOpened: return missing ? LeftMissing : LeftUnopenable;
    case PictureNotAPicture: return LeftNotTaken;
    case PictureTooLarge: return LeftOverLimit;
    default: return LeftDamaged;
  }
}

bool IsMissing(int error) { return error == ENOENT || error == ENOTDIR; }


SceneWalk::SceneWalk(const SceneWalkSources& sources)
    : sources_(sources), timing_(), looksKnown_(false), spriteLook_(), wallpaperLook_(),
      packageBytes_(kFixedRecordBytes), frameMemoryBytes_(0), leftOut_(0), character_(-1), nextLetter_(0), nextSlot_(0), frames_(0),
      runEnded_(false), file_(), fileOpen_(false), fileSlot_(0), fileName_(), path_(), background_(), wallpaper_(),
      haveWallpaper_(false), wallpaperRows_(nullptr), wallpaperBytes_(0), wallpaperLeftOut_(false), soundWhy_(),
      soundSource_(), soundLimit_(0), soundDecoding_() {}

SceneWalk::~SceneWalk() {
  AbandonWaveDecoding(&soundDecoding_);
  EndWallpaperRows();
  if (fileOpen_) ClosePictureFile(&file_);
  if (haveWallpaper_) ReleaseBitmapRecord(&wallpaper_);
}

TimingRecord SceneWalk::Timing() {
  timing_ = ReadTimingSettings(sources_.settings);
  return timing_;
}

// Read only for the first picture that needs it, so a scene of bitmaps reads exactly the
// settings it always read.
const PictureLook& SceneWalk::Look(bool sprite) {
  if (!looksKnown_) {
    spriteLook_ = ReadPictureLook(sources_.settings, timing_, true);
    wallpaperLook_ = ReadPictureLook(sources_.settings, timing_, false);
    looksKnown_ = true;
  }
  return sprite ? spriteLook_ : wallpaperLook_;
}

void SceneWalk::Hear(WalkSubject subject, int slot, const char* named, WalkReason reason, uint32_t number,
                     const char* detail) {
  if (IsLeftOut(reason)) ++leftOut_;
  if (!sources_.listener) return;
  const WalkOutcome outcome = {subject, character_ < 0 ? 0 : character_, slot, named, reason, number, detail};
  sources_.listener->heard(sources_.listener, outcome);
}

// The named file opened for its frames, or reported. True also for a picture that opened but
// cannot be read: it holds its slot and gives no frame.
bool SceneWalk::OpenNamed(WalkSubject subject, int slot, const char* named) {
  if (fileOpen_) ClosePictureFile(&file_);
  fileOpen_ = false;
  const char* why = nullptr;
  if (!ResolveInputPath(sources_.baseFolder, named, kNativePathStyle, path_, sizeof path_, &why)) {
    Hear(subject, slot, named, LeftNameTooLong, 0, why);
    return false;
  }
  PictureOpening opening = PictureUnreadable;
  // A wallpaper bitmap's rows are read as they are asked for, never held whole.
  fileOpen_ = OpenPictureFile(&file_, sources_.files, path_, sources_.codecs, &why, &opening, subject == WalkWallpaper);
  if (fileOpen_) {
    fileSlot_ = slot;
    std::strcpy(fileName_, named);
    return true;
  }
  const bool missing = opening == PictureNotOpened && IsMissing(sources_.files->lastErrorNumber(sources_.files));
  Hear(subject, slot, named, LeftOutReason(opening, missing), opening == PictureTooLarge ? kMaxBitmapBytes : 0,
       missing ? nullptr : why);
  ClosePictureFile(&file_);
  return opening != PictureNotOpened;
}

// The open picture's next frame, with its notes. When it has no further frame the file is
// closed and damage reported.
SceneWalk::FrameStep SceneWalk::NextOpenFrame(WalkSubject subject, int slot, const char* named, bool sprite,
                                              BitmapRecord* record) {
  int notes = 0;
  const char* why = nullptr;
  const PictureLook& look = file_.decoding ? Look(sprite) : kBitmapLook;
  const PictureStep step = NextPictureFileFrame(&file_, look, record, &notes, &why);
  const uint32_t frame = file_.delivered;
  if (step == PictureFrameReady) {
    // A note about one frame of an animation says which.
    const uint32_t which = frame > 1 ? frame : 0;
    for (uint32_t repair = 1; repair <= kLastBitmapRepair; repair <<= 1)
      if (record->repairs & repair) Hear(subject, slot, named, NoteRepaired, which, BitmapRepairText(repair));
    for (int note = 1; note < (1 << kLookNoteCount); note <<= 1)
      if (notes & note) Hear(subject, slot, named, NoteTransparency, which, PictureLookNoteText(note));
    return FrameGiven;
  }
  if (step == PictureDamaged && frame == 0) Hear(subject, slot, named, LeftDamaged, 0, why);
  if (step == PictureDamaged && frame > 0) Hear(subject, slot, named, NoteLaterFramesDamaged, frame + 1, why);
  ClosePictureFile(&file_);
  fileOpen_ = false;
  return frame == 0 ? NoFrameAtAll : NoFurtherFrame;
}

// A frame too large for what is left of the package, or for what is left of the memory a player
// keeps for frames, goes no further.
bool SceneWalk::TakeRecordSize(const BitmapRecord& record, WalkSubject subject, int slot, const char* named) {
  const uint64_t bytes = FrameRecordBytes(record);
  if (packageBytes_ + bytes > kMaxPackageBytes) {
    Hear(subject, slot, named, LeftOverLimit, static_cast<uint32_t>(kMaxPackageBytes), "the package would be too large");
    return false;
  }
  if (subject == WalkFrame) {
    const int32_t height = ReadI32LE(record.infoHeader + 8);
    const uint64_t memory = static_cast<uint64_t>(ReadI32LE(record.infoHeader + 4)) *
                            static_cast<uint64_t>(height < 0 ? -static_cast<int64_t>(height) : height) * kFrameMemoryPerPixel;
    if (frameMemoryBytes_ + memory > kMaxFrameMemoryBytes) {
      Hear(subject, slot, named, LeftOverLimit, static_cast<uint32_t>(kMaxFrameMemoryBytes),
           "the scene's frames together would take more memory than a saver keeps for them");
      return false;
    }
    frameMemoryBytes_ += memory;
  }
  packageBytes_ += bytes;
  return true;
}

// The character's frames end before fromSlot: each file named from there on is left out.
void SceneWalk::EndRun(WalkReason reason, int fromSlot, int endedAt) {
  runEnded_ = true;
  for (int slot = fromSlot; slot < kFrameSlotCount; ++slot) {
    char named[kSettingBufferSize];
    if (ReadSetting(sources_.settings, kFramePath, named, character_, slot) == 0) {
      // The run is over anyway; later names after a gap are left out for the gap.
      if (reason != LeftAfterEmptySlot) {
        reason = LeftAfterEmptySlot;
        endedAt = slot;
      }
      continue;
    }
    Hear(WalkFrame, slot, named, reason, static_cast<uint32_t>(endedAt));
  }
}

bool SceneWalk::NextCharacter() {
  BitmapRecord rest;
  while (character_ >= 0 && NextFrame(&rest)) ReleaseBitmapRecord(&rest);
  while (nextLetter_ < kCharacterCount) {
    character_ = nextLetter_++;
    nextSlot_ = 0;
    frames_ = 0;
    runEnded_ = false;
    char named[kSettingBufferSize];
    if (ReadSetting(sources_.settings, kFramePath, named, character_, 0) == 0) {
      EndRun(LeftAfterEmptySlot, 1, 0);
      continue;
    }
    if (ReadSettingNumber(sources_.settings, kAppearanceRate, character_) == 0) {
      for (int slot = 0; slot < kFrameSlotCount; ++slot) {
        if (ReadSetting(sources_.settings, kFramePath, named, character_, slot) > 0)
          Hear(WalkFrame, slot, named, LeftNeverShown);
      }
      runEnded_ = true;
      continue;
    }
    nextSlot_ = 1;
    if (OpenNamed(WalkFrame, 0, named)) {
      // A first file that opened but cannot be read still makes a character, without frames.
      if (!fileOpen_) ++frames_;
      return true;
    }
    EndRun(LeftAfterEndedRun, 1, 0);
  }
  character_ = -1;
  return false;
}

bool SceneWalk::NextFrame(BitmapRecord* record) {
  if (character_ < 0) return false;
  for (;;) {
    if (fileOpen_ && frames_ >= kFrameSlotCount) {
      // The character is full: a picture with frames to spare says how many it gave.
      const uint32_t given = file_.delivered;
      BitmapRecord extra;
      int notes = 0;
      const char* why = nullptr;
      const PictureLook& look = file_.decoding ? Look(true) : kBitmapLook;
      if (NextPictureFileFrame(&file_, look, &extra, &notes, &why) == PictureFrameReady) {
        ReleaseBitmapRecord(&extra);
        Hear(WalkFrame, fileSlot_, fileName_, NoteFramesBeyondRoom, given);
      }
      ClosePictureFile(&file_);
      fileOpen_ = false;
      if (!runEnded_) EndRun(LeftNoRoom, nextSlot_, fileSlot_);
      return false;
    }
    if (fileOpen_) {
      const FrameStep step = NextOpenFrame(WalkFrame, fileSlot_, fileName_, true, record);
      if (step == FrameGiven && TakeRecordSize(*record, WalkFrame, fileSlot_, fileName_)) {
        ++frames_;
        return true;
      }
      if (step == FrameGiven) {
        ReleaseBitmapRecord(record);
        ClosePictureFile(&file_);
        fileOpen_ = false;
      }
      // A file that gave no frame at all still holds its place in the count.
      if (step == NoFrameAtAll) ++frames_;
      if (frames_ >= kFrameSlotCount && !runEnded_) EndRun(LeftNoRoom, nextSlot_, fileSlot_);
      if (frames_ >= kFrameSlotCount) return false;
      continue;
    }
    if (runEnded_ || nextSlot_ >= kFrameSlotCount) return false;
    const int slot = nextSlot_++;
    char named[kSettingBufferSize];
    if (ReadSetting(sources_.settings, kFramePath, named, character_, slot) == 0) {
      EndRun(LeftAfterEmptySlot, slot + 1, slot);
      return false;
    }
    if (!OpenNamed(WalkFrame, slot, named)) {
      EndRun(LeftAfterEndedRun, slot + 1, slot);
      return false;
    }
    if (!fileOpen_) {
      ++frames_;
      if (frames_ >= kFrameSlotCount) EndRun(LeftNoRoom, nextSlot_, slot);
      if (frames_ >= kFrameSlotCount) return false;
    }
  }
}

MotionRecord SceneWalk::Motion() {
  BitmapRecord rest;
  while (NextFrame(&rest)) ReleaseBitmapRecord(&rest);
  return ReadMotionSettings(sources_.settings, character_);
}

BackgroundRecord SceneWalk::Background() {
  BitmapRecord rest;
  while (character_ >= 0 && NextFrame(&rest)) ReleaseBitmapRecord(&rest);
  character_ = -1;
  background_ = ReadBackgroundSettings(sources_.settings);
  if (background_.wallpaper == 0) return background_;
  char named[kSettingBufferSize];
  // A wallpaper switched on without a name is simply not there: no file was left out.
  if (ReadSetting(sources_.settings, kWallpaperPath, named) > 0 && OpenNamed(WalkWallpaper, 0, named) &&
      fileOpen_) {
    if (file_.decoding && BeginPictureRows(&file_.frames)) {
      haveWallpaper_ = TakeWallpaperRows(named);
    } else if (NextOpenFrame(WalkWallpaper, 0, named, false, &wallpaper_) == FrameGiven) {
      // A wallpaper is one picture: an animation gives its first frame. A bitmap opened for
      // its rows gave its record without them.
      haveWallpaper_ = file_.bitmapRows ? TakeWallpaperRows(named)
                                        : FitNamedWallpaper(named) && TakeRecordSize(wallpaper_, WalkWallpaper, 0, named);
    }
    if (fileOpen_ && !wallpaperRows_) ClosePictureFile(&file_);
    fileOpen_ = fileOpen_ && wallpaperRows_;
  }
  if (!haveWallpaper_) {
    ReleaseBitmapRecord(&wallpaper_);
    background_.wallpaper = 0;
  }
  return background_;
}

// A wallpaper larger than any screen it is for is brought within the limit here, once, so that
// the package and every player hold no more of it than a screen shows. Always true: a picture
// that cannot be fitted goes as it is.
bool SceneWalk::FitNamedWallpaper(const char* named) {
  int32_t width = 0, height = 0;
  HearWallpaperFit(named, FitWallpaper(&wallpaper_, background_.stretch != 0, &width, &height), width, height);
  return true;
}

// The note of a wallpaper brought within the limit, naming its new size.
void SceneWalk::HearWallpaperFit(const char* named, WallpaperFit fit, int32_t width, int32_t height) {
  if (fit != WallpaperScaled && fit != WallpaperCut) return;
  Hear(WalkWallpaper, 0, named, fit == WallpaperScaled ? NoteWallpaperScaled : NoteWallpaperCut,
       static_cast<uint32_t>(width) << 16 | static_cast<uint32_t>(height));
}

// A picture the decoder hands row by row, or a bitmap whose rows are read from its file, is
// never held whole, and is decoded once: its size, fit and record size are known from its
// headers, and its damage only as its rows are read (NextWallpaperRow), which then leaves it
// out. Its note waits for its last row, so that a picture left out says only that.
bool SceneWalk::TakeWallpaperRows(const char* named) {
  const bool stretched = background_.stretch != 0;
  wallpaperRows_ = file_.bitmapRows ? new WallpaperRows(&file_, wallpaper_, stretched)
                                    : new WallpaperRows(&file_.frames, Look(false), stretched);
  wallpaperRows_->Form(&wallpaper_);
  if (TakeRecordSize(wallpaper_, WalkWallpaper, 0, named)) {
    wallpaperBytes_ = FrameRecordBytes(wallpaper_);
    return true;
  }
  EndWallpaperRows();
  return false;
}

void SceneWalk::EndWallpaperRows() {
  if (!wallpaperRows_) return;
  delete wallpaperRows_;
  wallpaperRows_ = nullptr;
  if (fileOpen_) ClosePictureFile(&file_);
  fileOpen_ = false;
}

bool SceneWalk::WallpaperByRows(BitmapRecord* form) {
  if (!haveWallpaper_ || !wallpaperRows_) return false;
  *form = wallpaper_;
  haveWallpaper_ = false;
  return true;
}

bool SceneWalk::NextWallpaperRow(uint8_t* row) {
  if (!wallpaperRows_) return false;
  const char* why = nullptr;
  if (!wallpaperRows_->Next(row, &why)) {
    // What the package would have held of it is free again, for the sound.
    Hear(WalkWallpaper, 0, fileName_, LeftDamaged, 0, why);
    packageBytes_ -= wallpaperBytes_;
    wallpaperLeftOut_ = true;
    EndWallpaperRows();
    return false;
  }
  if (wallpaperRows_->Done()) {
    HearWallpaperFit(fileName_, wallpaperRows_->fit(), wallpaperRows_->width(), wallpaperRows_->height());
    EndWallpaperRows();
  }
  return true;
}

bool SceneWalk::TakeWallpaper(BitmapRecord* record) {
  if (!haveWallpaper_) return false;
  if (wallpaperRows_) {
    // The whole record, for a writer that wants it whole: its rows bottom-up.
    haveWallpaper_ = false;
    *record = wallpaper_;
    const uint32_t stride = wallpaperRows_->RowBytes();
    const int32_t height = wallpaperRows_->height();
    record->bits = static_cast<uint8_t*>(std::malloc(record->bitsSize ? record->bitsSize : 1));
    if (!record->bits) {
      Hear(WalkWallpaper, 0, fileName_, LeftDamaged, 0, "not enough memory for the picture");
      packageBytes_ -= wallpaperBytes_;
      EndWallpaperRows();
      return false;
    }
    for (int32_t y = 0; record->bits && y < height; ++y) {
      if (!NextWallpaperRow(record->bits + static_cast<size_t>(height - 1 - y) * stride)) ReleaseBitmapRecord(record);
    }
    EndWallpaperRows();
    return record->bits != nullptr;
  }
  *record = wallpaper_;
  std::memset(&wallpaper_, 0, sizeof wallpaper_);
  haveWallpaper_ = false;
  return true;
}

void ReleaseWalkSound(BuildFiles* files, WalkSoundFile* sound) {
  if (sound->file) files->close(files, sound->file);
  std::free(sound->wave);
  sound->file = nullptr;
  sound->wave = nullptr;
}

void SceneWalk::EndDecodingInput(WalkSoundFile* sound) {
  if (sound->file) sources_.files->close(sources_.files, sound->file);
  sound->file = nullptr;
}

bool SceneWalk::BeginSoundDecoding(WalkSoundFile* sound, WaveSink* sink) {
  BuildFiles* files = sources_.files;
  const char* named = sound->named;
  // The decoders read the file where it lies, a piece at a time, until the decoding ends.
  soundSource_ = MakeBuildFileSource(files, sound->file);
  const SourceBytes file = {&soundSource_.base, 0, sound->length};
  if (sound->format == SoundCompressedWave && WaveDataCutShort(file)) {
    if (soundSource_.shortRead)
      Hear(WalkSound, 0, named, LeftUnopenable, 0, files->lastError(files));
    else
      Hear(WalkSound, 0, named, LeftDamaged, 0, "compressed wave cut short: its chunks claim more bytes than the file holds");
    EndDecodingInput(sound);
    return false;
  }
  soundLimit_ = kMaxPackageBytes - packageBytes_;
  if (soundLimit_ > kMaxSoundBytes) soundLimit_ = kMaxSoundBytes;
  DecodedWave decoded;
  const char* why = nullptr;
  const SoundDecoding outcome =
      BeginWaveDecoding(&soundDecoding_, sources_.sounds, sound->format, file, soundLimit_, sink, &decoded, &why);
  if (outcome != SoundDecoded) {
    const bool taken = FileReadWhole(*sound) && HearDecoding(*sound, outcome, decoded, why);
    EndDecodingInput(sound);
    return taken;
  }
  return true;
}

bool SceneWalk::DecodeMoreSound() {
  // Some 16,000 frames: a few milliseconds of decoding, between a player's paints.
  return soundDecoding_.codec && DecodeMoreWave(&soundDecoding_, 16384);
}

bool SceneWalk::EndSoundDecoding(WalkSoundFile* sound) {
  if (!soundDecoding_.codec) return false;
  DecodedWave decoded;
  std::memset(&decoded, 0, sizeof decoded);
  const char* why = nullptr;
  const SoundDecoding outcome = EndWaveDecoding(&soundDecoding_, &decoded, &why);
  const bool taken = FileReadWhole(*sound) && HearDecoding(*sound, outcome, decoded, why);
  EndDecodingInput(sound);
  if (!taken) return false;
  sound->length = static_cast<uint32_t>(decoded.size);
  sound->toDecode = false;
  packageBytes_ += decoded.size;
  return true;
}

bool SceneWalk::DecodeSound(WalkSoundFile* sound) {
  MemoryWaveSink sink;
  OpenMemoryWaveSink(&sink, kMaxSoundBytes);
  if (!BeginSoundDecoding(sound, &sink.base)) return false;
  while (DecodeMoreSound()) {
  }
  if (!EndSoundDecoding(sound)) {
    std::free(sink.bytes);
    return false;
  }
  sound->wave = sink.bytes;
  return true;
}

// Whatever the decoder made of a file that failed under it, the file is what is wrong: false,
// and said so, when a read of it fell short.
bool SceneWalk::FileReadWhole(const WalkSoundFile& sound) {
  if (!soundSource_.shortRead) return true;
  Hear(WalkSound, 0, sound.named, LeftUnopenable, 0, sources_.files->lastError(sources_.files));
  return false;
}

// Whether a decoding's outcome takes the sound; when it does not, said why.
bool SceneWalk::HearDecoding(const WalkSoundFile& sound, SoundDecoding outcome, const DecodedWave& decoded,
                             const char* why) {
  const char* named = sound.named;
  const char* format = SoundFormatName(sound.format);
  const uint64_t limit = soundLimit_;
  switch (outcome) {
    case SoundDecoded:
      return true;
    case SoundNoDecoder:
      Hear(WalkSound, 0, named, LeftSoundNotStorable, sound.format, why);
      return false;
    case SoundUndecodable:
      std::snprintf(soundWhy_, sizeof soundWhy_, "%s: %s", format, why ? why : "damaged");
      Hear(WalkSound, 0, named, LeftDamaged, 0, soundWhy_);
      return false;
    case SoundSilent:
      std::snprintf(soundWhy_, sizeof soundWhy_, "%s in which no samples can be decoded", format);
      Hear(WalkSound, 0, named, LeftDamaged, 0, soundWhy_);
      return false;
    case SoundCutShort:
      std::snprintf(soundWhy_, sizeof soundWhy_, "%s cut short or damaged: %.1f of its %.1f seconds decode", format,
                    static_cast<double>(decoded.frames) / decoded.rate,
                    static_cast<double>(decoded.announcedFrames) / decoded.rate);
      Hear(WalkSound, 0, named, LeftDamaged, 0, soundWhy_);
      return false;
    case SoundTooLong:
      Hear(WalkSound, 0, named, LeftOverLimit, static_cast<uint32_t>(limit),
           limit < kMaxSoundBytes ? "decoded, the package would be too large" : "decoded, the wave would be larger");
      return false;
    default:
      if (why) {
        std::snprintf(soundWhy_, sizeof soundWhy_, "its decoded wave cannot be stored: %s", why);
        Hear(WalkSound, 0, named, LeftUnopenable, 0, soundWhy_);
      } else {
        Hear(WalkSound, 0, named, LeftOverLimit, static_cast<uint32_t>(limit), "not enough memory to decode it");
      }
      return false;
  }
}

bool SceneWalk::Sound(WalkSoundFile* sound) {
  std::memset(sound, 0, sizeof *sound);
  char* named = sound->named;
  if (ReadSettingNumber(sources_.settings, kSoundOn) == 0 || ReadSetting(sources_.settings, kSoundPath, named) == 0)
    return false;
  const char* why = nullptr;
  if (!ResolveInputPath(sources_.baseFolder, named, kNativePathStyle, sound->path, sizeof sound->path, &why)) {
    Hear(WalkSound, 0, named, LeftNameTooLong, 0, why);
    return false;
  }
  BuildFiles* files = sources_.files;
  sound->file = files->openForReading(files, sound->path);
  if (!sound->file) {
    const bool missing = IsMissing(files->lastErrorNumber(files));
    Hear(WalkSound, 0, named, missing ? LeftMissing : LeftUnopenable, 0, missing ? nullptr : files->lastError(files));
    return false;
  }
  uint64_t size = 0;
  bool taken = false;
  WalkReason refusal = LeftOverLimit;
  uint32_t number = 0;
  why = nullptr;
  if (!files->sizeOf(files, sound->file, &size)) {
    refusal = LeftUnopenable;
    why = files->lastError(files);
  } else if (size > kMaxSoundBytes) {
    number = static_cast<uint32_t>(kMaxSoundBytes);
  } else if (size == 0) {
    refusal = LeftNotTaken;
    why = "the file is empty";
  } else if (packageBytes_ + size > kMaxPackageBytes) {
    number = static_cast<uint32_t>(kMaxPackageBytes);
    why = "the package would be too large";
  } else {
    uint8_t head[kSoundHeadBytes];
    const size_t want = size < sizeof head ? static_cast<size_t>(size) : sizeof head;
    const size_t got = files->seek(files, sound->file, 0) ? ReadFully(files, sound->file, head, want) : 0;
    sound->format = SniffSoundFormat(head, got);
    if (got != want) {
      refusal = LeftUnopenable;
      why = files->lastError(files);
    } else if (sound->format == SoundUnknown) {
      refusal = LeftSoundNotStorable;
      number = SoundUnknown;
    } else {
      taken = true;
    }
  }
  if (taken && sound->format != SoundPlayableWave) {
    // Decoded by the caller's choice of DecodeSound or a decoding a piece at a time.
    sound->toDecode = true;
    sound->length = static_cast<uint32_t>(size);
    return true;
  }
  if (!taken) {
    Hear(WalkSound, 0, named, refusal, number, why);
    files->close(files, sound->file);
    sound->file = nullptr;
    return false;
  }
  packageBytes_ += size;
  sound->length = static_cast<uint32_t>(size);
  return true;
}
