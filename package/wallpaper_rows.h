// A decoded wallpaper taken row by row, brought within the wallpaper limit on the way (scaled or
// cut as FitWallpaper does), so that neither the decoded picture nor its record is ever held
// whole: the rows are those of the record the whole picture would give, top row first. The
// picture is decoded once, as its rows are asked for: damage anywhere in it is found by the
// time the last row is given, and the caller, which then has part of it, leaves it out whole.
#pragma once
#include <cstdint>
#include <vector>

#include "frame_record.h"
#include "picture_frames.h"
#include "wallpaper_fit.h"


struct PictureFile;

class WallpaperRows {
 public:
  // frames: open, with BeginPictureRows true; look: the wallpaper's.
  WallpaperRows(PictureFrames* frames, const PictureLook& look, bool stretched);
  // bitmap: opened for its rows; form: its record, without bits.
  WallpaperRows(PictureFile* bitmap, const BitmapRecord& form, bool stretched);

  WallpaperFit fit() const { return fit_; }
  int32_t width() const { return nw_; }
  int32_t height() const { return nh_; }
  // The record's form at the new size, without its bits: 24 bits, bottom-up, uncompressed (a
  // bitmap that needs no fitting keeps its own).
  void Form(BitmapRecord* record) const;
  // The bytes of one row of the record (blue, green, red, padded to four bytes).
  uint32_t RowBytes() const { return (static_cast<uint32_t>(nw_) * 3 + 3) & ~3u; }

  // The next new row into `row` (RowBytes bytes), while rows are left (!Done()); a null row
  // passes it over, reading no more of it than the rows after it need. With the last one the
  // rest of a decoded picture is decoded too, so that damage anywhere fails a call. False, with
  // a reason that lives as long as the picture is open, when a row cannot be had.
  bool Next(uint8_t* row, const char** why);
  bool Done() const { return given_ >= nh_; }

 private:
  void Size(bool stretched);
  const uint32_t* Fetch(int32_t y);
  bool DecodeThrough(int32_t y);

  PictureFrames* frames_ = nullptr;
  PictureLook look_;
  PictureFile* bitmap_ = nullptr;
  BitmapRecord form_;            // a bitmap's, without bits
  std::vector<uint8_t> stored_;  // a bitmap's row as its file holds it
  WallpaperFit fit_;
  int32_t w_, h_, nw_, nh_, left_, top_;
  std::vector<uint8_t> rgba_;    // the last old row decoded
  std::vector<uint32_t> old_;    // the same as 0x00BBGGRR
  int32_t decoded_ = 0, given_ = 0;
  const char* why_ = nullptr;    // why the last row could not be had
  std::vector<RowScaler> scaler_;  // one, for a scaled picture
};
