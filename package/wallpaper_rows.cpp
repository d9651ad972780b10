#include "wallpaper_rows.h"

#include <cstring>

#include "byte_order.h"
#include "frame_record.h"
#include "picture_intake.h"
#include "size_limits.h"

namespace {

// Why a bitmap read from its file a row at a time is left out part way through its rows.
const char* const kBitmapRowUnread = "the file cannot be read to its last row";

}  // namespace

WallpaperRows::WallpaperRows(PictureFrames* frames, const PictureLook& look, bool stretched)
    : frames_(frames), look_(look), form_(), w_(frames->width), h_(frames->height) {
  Size(stretched);
}

WallpaperRows::WallpaperRows(PictureFile* bitmap, const BitmapRecord& form, bool stretched)
    : look_(), bitmap_(bitmap), form_(form), w_(ReadI32LE(form.infoHeader + 4)), h_(ReadI32LE(form.infoHeader + 8)) {
  form_.bits = nullptr;
  stored_.resize(bitmap->rows.stride);
  Size(stretched);
}

void WallpaperRows::Size(bool stretched) {
  fit_ = FittedWallpaperSize(w_, h_, stretched, &nw_, &nh_);
  left_ = (w_ - nw_) / 2;
  top_ = (h_ - nh_) / 2;
  rgba_.resize(static_cast<size_t>(w_) * 4);
  old_.resize(static_cast<size_t>(w_));
  if (fit_ == WallpaperScaled) scaler_.emplace_back(w_, h_, nw_, nh_);
}

void WallpaperRows::Form(BitmapRecord* record) const {
  if (bitmap_) {
    // A bitmap's own header, as the whole record's fitting keeps what it does not change.
    *record = form_;
    if (fit_ == WallpaperFits) return;
    record->colourCount = 0;
  } else {
    std::memset(record, 0, sizeof *record);
  }
  record->bitsSize = RowBytes() * static_cast<uint32_t>(nh_);
  SetRecordForm(record, nw_, nh_, 24, kBiRgb, 0);
}

// The decoded picture's rows up to y, each once and in order, the last into rgba_ and those
// before it passed over; false with why_ when one cannot be had.
bool WallpaperRows::DecodeThrough(int32_t y) {
  while (decoded_ <= y) {
    const char* why = nullptr;
    const PictureStep step = decoded_ < y ? PassPictureRow(frames_, rgba_.data(), &why)
                                          : NextPictureRow(frames_, look_, rgba_.data(), &why);
    if (step != PictureFrameReady) {
      why_ = why ? why : "the picture ends before its last row";
      return false;
    }
    ++decoded_;
  }
  return true;
}

// Old row y, the rows before it read and passed over: rows come in order, each once.
const uint32_t* WallpaperRows::Fetch(int32_t y) {
  if (bitmap_) {
    if (!ReadBitmapFileRow(bitmap_, y, stored_.data())) {
      why_ = kBitmapRowUnread;
      return nullptr;
    }
    const uint8_t* in = stored_.data();
    for (int32_t x = 0; x < w_; ++x, in += 3)
      old_[static_cast<size_t>(x)] = in[2] | static_cast<uint32_t>(in[1]) << 8 | static_cast<uint32_t>(in[0]) << 16;
    return old_.data();
  }
  if (!DecodeThrough(y)) return nullptr;
  // Red, green, blue, alpha bytes read as one little-endian word are 0xAABBGGRR.
  const uint8_t* in = rgba_.data();
  for (int32_t x = 0; x < w_; ++x, in += 4) old_[static_cast<size_t>(x)] = ReadU32LE(in) & 0x00FFFFFF;
  return old_.data();
}

bool WallpaperRows::Next(uint8_t* row, const char** why) {
  if (Done()) {
    *why = "the picture has no further row";
    return false;
  }
  why_ = nullptr;
  const auto fetch = [this](int32_t y) { return Fetch(y); };
  bool had = true;
  if (!row) {
    // Only a scale needs any of its old rows now, and only one the next row shares.
    if (fit_ == WallpaperScaled) had = scaler_[0].Skip(fetch);
  } else if (bitmap_ && fit_ == WallpaperFits) {
    // A bitmap that needs no fitting gives its rows byte for byte, padding and all.
    had = ReadBitmapFileRow(bitmap_, given_, row);
    if (!had) why_ = kBitmapRowUnread;
  } else {
    const uint32_t* kept = fit_ == WallpaperScaled ? scaler_[0].Next(fetch) : Fetch(top_ + given_);
    had = kept != nullptr;
    if (kept && fit_ != WallpaperScaled) kept += left_;
    for (int32_t x = 0; had && x < nw_; ++x) {
      const uint32_t c = kept[x];
      row[3 * x] = static_cast<uint8_t>(c >> 16);  // blue, green, red
      row[3 * x + 1] = static_cast<uint8_t>(c >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(c);
    }
    if (had) std::memset(row + 3 * nw_, 0, RowBytes() - 3 * static_cast<uint32_t>(nw_));
  }
  ++given_;
  // A decoded picture is read to its end, past the rows a cut leaves out: a picture damaged
  // anywhere is left out whole, the same wherever it is cut or however it is scaled.
  if (had && Done() && !bitmap_) had = DecodeThrough(h_ - 1);
  if (!had) *why = why_ ? why_ : "the picture ends before its last row";
  return had;
}
