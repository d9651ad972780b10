// The one walk from a settings file to a scene: which characters, frames, wallpaper and sound
// the settings yield, in package order, each file taken, taken with a note, or left out with
// its reason (walk_outcome.h). The builder writes what the walk hands out; the designer's
// playback and the Linux players draw it; so playing the settings and playing the saver built
// from them cannot differ, and every tool names what was left out in the same words.
//
// A character's frames are the unbroken run of named, openable files from slot 0, as packages
// have always held them: an empty or unopenable slot ends the run, a file that opens but cannot
// be read keeps its place in the count of ten and gives no frame, an animated picture gives its
// frames from its slot on. A character whose appearance rate is 0 is never shown and is left
// out whole, as is one whose first file cannot be opened.
#pragma once
#include <cstdint>

#include "build_files.h"
#include "input_path.h"
#include "package_records.h"
#include "picture_intake.h"
#include "size_limits.h"
#include "sound_codec.h"
#include "sound_decoding.h"
#include "walk_outcome.h"
#include "wallpaper_rows.h"

struct SettingsStore;
struct PictureCodec;

struct SceneWalkSources {
  SettingsStore* settings;
  BuildFiles* files;
  const char* baseFolder;  // relative names in the settings belong to it
  PictureCodec* codecs;    // PNG, JPEG and GIF; null: such files are left out
  WalkListener* listener;  // may be null
  SoundCodec* sounds;      // MP3, Ogg, FLAC and compressed waves; null: such sounds are left out
};

// The sound as the walk took it, `length` bytes either way: a wave the players play as it is,
// as its open file; any other sound to be decoded to a PCM wave (toDecode, its file open and
// `length` its file's size until it is), in memory or into a sink of the caller's. Release it
// with ReleaseWalkSound.
struct WalkSoundFile {
  BuildFiles::Handle file;  // null once the sound was decoded
  uint8_t* wave;            // the wave decoded into memory, allocated with malloc; else null
  uint32_t length;
  bool toDecode;
  SoundFormat format;       // as the file's first bytes tell it
  char path[kMaxInputPath];
  char named[kSettingBufferSize];  // as the settings name it
};

// Closes the file, frees the wave (unless the caller took it and set `wave` to null).
void ReleaseWalkSound(BuildFiles* files, WalkSoundFile* sound);
// Why a picture that could not be opened is left out; missing when the file seam found no file.
WalkReason LeftOutReason(PictureOpening opening, bool missing);
// Whether the file seam's error number says that there is no such file.
bool IsMissing(int error);

class SceneWalk {
 public:
  explicit SceneWalk(const SceneWalkSources& sources);
  ~SceneWalk();

  // In package order: the timing, then each character's frames and motion, then the background,
  // its wallpaper and the sound. Each is asked once.
  TimingRecord Timing();
  // The next character that goes in (those left out before it are reported); false at the end.
  bool NextCharacter();
  // The current character's next frame as its record (the caller releases it); false when its
  // frames have ended.
  bool NextFrame(BitmapRecord* record);
  // The current character's motion; its remaining frames are passed over first.
  MotionRecord Motion();
  // The background, its wallpaper flag cleared when the wallpaper is left out. A wallpaper taken
  // a row at a time (a decoded picture of one frame, a plain bitmap) keeps the flag before its
  // pixels are read: one found damaged as its rows are read, by TakeWallpaper or
  // NextWallpaperRow, is left out then, and said so.
  BackgroundRecord Background();
  // The wallpaper's record when Background kept its flag; the caller releases it.
  bool TakeWallpaper(BitmapRecord* record);
  // Instead of TakeWallpaper, where the wallpaper can be had a row at a time: true, with its
  // record's form in *form (no bits; bitsSize as the record's).
  bool WallpaperByRows(BitmapRecord* form);
  // Its next row, top row first, as the record holds it (form's width x 3 bytes, padded to
  // four); false once none is left, or it cannot be had (WallpaperLeftOut then says so). A null
  // row passes one over that nobody shows: read as far as its damage goes, but not made.
  bool NextWallpaperRow(uint8_t* row);
  // Whether the wallpaper was left out as its rows were read, after part of them was handed out.
  bool WallpaperLeftOut() const { return wallpaperLeftOut_; }
  // False when the scene has no sound, or it was left out.
  bool Sound(WalkSoundFile* sound);
  // A sound that Sound left to decode, decoded into memory (sound->wave); false when it was
  // left out, and said why. The file is closed either way.
  bool DecodeSound(WalkSoundFile* sound);
  // The same a piece at a time, into the caller's sink, for a player that decodes between its
  // paints: Begin, More until it says the sound has ended, End. False from Begin or End when the
  // sound is left out (said why), the file closed then; End closes it either way, and sets
  // sound->length to the wave's. A walk that ends before End abandons the decoding.
  bool BeginSoundDecoding(WalkSoundFile* sound, WaveSink* sink);
  bool DecodeMoreSound();
  bool EndSoundDecoding(WalkSoundFile* sound);

  // The letter (0 for A to 19 for T) of the current character, -1 before the first and after
  // the last.
  int CurrentCharacter() const { return character_; }

  // How many files were left out so far.
  int LeftOutCount() const { return leftOut_; }
  // The slot named by the file that gave the frame NextFrame handed out last.
  int FrameSlot() const { return fileSlot_; }

 private:
  const PictureLook& Look(bool sprite);
  void Hear(WalkSubject subject, int slot, const char* named, WalkReason reason, uint32_t number = 0,
            const char* detail = nullptr);
  bool OpenNamed(WalkSubject subject, int slot, const char* named);
  enum FrameStep { FrameGiven, NoFurtherFrame, NoFrameAtAll };
  FrameStep NextOpenFrame(WalkSubject subject, int slot, const char* named, bool sprite, BitmapRecord* record);
  void EndRun(WalkReason reason, int fromSlot, int endedAt);
  bool FitNamedWallpaper(const char* named);
  void HearWallpaperFit(const char* named, WallpaperFit fit, int32_t width, int32_t height);
  bool TakeWallpaperRows(const char* named);
  void EndWallpaperRows();
  bool TakeRecordSize(const BitmapRecord& record, WalkSubject subject, int slot, const char* named);
  bool HearDecoding(const WalkSoundFile& sound, SoundDecoding outcome, const DecodedWave& decoded, const char* why);
  bool FileReadWhole(const WalkSoundFile& sound);
  void EndDecodingInput(WalkSoundFile* sound);

  SceneWalkSources sources_;
  TimingRecord timing_;
  bool looksKnown_;
  PictureLook spriteLook_, wallpaperLook_;
  uint64_t packageBytes_;
  uint64_t frameMemoryBytes_;  // what the frames taken so far cost a player
  int leftOut_;

  int character_;  // the current character, -1 before the first
  int nextLetter_;
  int nextSlot_;   // the next slot to read of the current character
  int frames_;     // its frames so far, files that gave none counted as one
  bool runEnded_;
  PictureFile file_;  // the open picture of slot `fileSlot_`
  bool fileOpen_;
  int fileSlot_;
  char fileName_[kSettingBufferSize];
  char path_[kMaxInputPath];

  BackgroundRecord background_;
  BitmapRecord wallpaper_;
  bool haveWallpaper_;
  WallpaperRows* wallpaperRows_;  // the wallpaper taken row by row, or null; file_ stays open for it
  uint64_t wallpaperBytes_;       // its record's share of the package, counted before its rows are read
  bool wallpaperLeftOut_;
  char soundWhy_[256];  // a sound decoder's reason, as the walk words it
  // The sound being decoded: its file as the decoder reads it, what the package has room for,
  // the decoding.
  BuildFileSource soundSource_;
  uint64_t soundLimit_;
  WaveDecoding soundDecoding_;  // its codec set while a decoding is under way
};
