#include "wallpaper_fit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "byte_order.h"
#include "dib_image.h"
#include "frame_record.h"
#include "size_limits.h"

namespace {

using Span = RowScaler::Span;

// Measured in 1/m of an old pixel, new pixel k spans [k n, (k + 1) n) and old pixel i spans
// [i m, (i + 1) m): the weights are the overlaps, whole numbers adding up to n for every new pixel.
std::vector<Span> Spans(int32_t n, int32_t m) {
  std::vector<Span> spans(static_cast<size_t>(m));
  for (int32_t k = 0; k < m; ++k) {
    const int64_t from = static_cast<int64_t>(k) * n, to = from + n;
    Span& s = spans[static_cast<size_t>(k)];
    s.first = static_cast<int32_t>(from / m);
    s.last = static_cast<int32_t>((to - 1) / m);
    s.firstWeight = static_cast<int32_t>(s.first == s.last ? n : (s.first + 1) * static_cast<int64_t>(m) - from);
    s.lastWeight = static_cast<int32_t>(s.first == s.last ? n : to - static_cast<int64_t>(s.last) * m);
    s.middleWeight = m;
  }
  return spans;
}

// A record of 24 bits a pixel, bottom-up, uncompressed: what the codecs and most bitmap files
// give, and the rows can be read from it as they are.
bool PlainRows(const BitmapRecord& record, int32_t w, int32_t h) {
  const uint8_t* info = record.infoHeader;
  return ReadU16LE(info + 14) == 24 && ReadU32LE(info + 16) == kBiRgb && ReadI32LE(info + 8) > 0 &&
         static_cast<uint64_t>((static_cast<uint32_t>(w) * 3 + 3) & ~3u) * h <= record.bitsSize;
}

}  // namespace

RowScaler::RowScaler(int32_t w, int32_t h, int32_t nw, int32_t nh)
    : w_(w), h_(h), nw_(nw), nh_(nh), columns_(Spans(w, nw)), rows_(Spans(h, nh)),
      kept_(static_cast<size_t>(w) * 3), down_(static_cast<size_t>(w) * 3), done_(static_cast<size_t>(nw)) {}

void RowScaler::Keep(const uint32_t* row) {
  float* red = kept_.data();
  float* green = red + w_;
  float* blue = green + w_;
  for (int32_t x = 0; x < w_; ++x) {
    red[x] = static_cast<float>(static_cast<int32_t>(row[x] & 0xFF));
    green[x] = static_cast<float>(static_cast<int32_t>((row[x] >> 8) & 0xFF));
    blue[x] = static_cast<float>(static_cast<int32_t>((row[x] >> 16) & 0xFF));
  }
}

void RowScaler::AddKept(float weight) {
  float* sums = down_.data();
  const float* kept = kept_.data();
  for (size_t i = 0, n = down_.size(); i < n; ++i) sums[i] += weight * kept[i];
}

const uint32_t* RowScaler::Finish() {
  // Across, in doubles: every new pixel's weights add up to w h, at most 2^28, so its sums stay
  // whole numbers under 2^37. The rounded average is the whole part of (sum + half) / (w h); half
  // a unit more keeps that quotient at least 1 / (2 w h) from every whole number, far more than
  // the product with the inverse can be off (256 times 2^-52), so that product gives it exactly.
  const double whole = static_cast<double>(w_) * h_, inverse = 1 / whole;
  const double lifted = std::floor(whole / 2) + 0.5;
  const auto rounded = [inverse, lifted](double sum) { return static_cast<uint32_t>((sum + lifted) * inverse); };
  const size_t plane = static_cast<size_t>(w_);
  for (int32_t x = 0; x < nw_; ++x) {
    const Span& cs = columns_[static_cast<size_t>(x)];
    const float* red = down_.data() + cs.first;
    const float* green = red + plane;
    const float* blue = green + plane;
    double r = static_cast<double>(cs.firstWeight) * red[0];
    double g = static_cast<double>(cs.firstWeight) * green[0];
    double b = static_cast<double>(cs.firstWeight) * blue[0];
    if (cs.last > cs.first) {
      const int32_t last = cs.last - cs.first;
      double middleRed = 0, middleGreen = 0, middleBlue = 0;
      for (int32_t k = 1; k < last; ++k) middleRed += red[k], middleGreen += green[k], middleBlue += blue[k];
      const double lastWeight = cs.lastWeight, middleWeight = cs.middleWeight;
      r += middleWeight * middleRed + lastWeight * red[last];
      g += middleWeight * middleGreen + lastWeight * green[last];
      b += middleWeight * middleBlue + lastWeight * blue[last];
    }
    done_[static_cast<size_t>(x)] = rounded(r) | rounded(g) << 8 | rounded(b) << 16;
  }
  ++y_;
  return done_.data();
}

void ScaleDownPixels(const uint32_t* pixels, int32_t w, int32_t h, uint32_t* out, int32_t nw, int32_t nh) {
  RowScaler scaler(w, h, nw, nh);
  for (int32_t y = 0; y < nh; ++y) {
    const uint32_t* row = scaler.Next([&](int32_t old) { return pixels + static_cast<size_t>(old) * w; });
    std::memcpy(out + static_cast<size_t>(y) * nw, row, static_cast<size_t>(nw) * 4);
  }
}

WallpaperFit FittedWallpaperSize(int32_t w, int32_t h, bool stretched, int32_t* width, int32_t* height) {
  *width = w;
  *height = h;
  if (w <= kMaxWallpaperWidth && h <= kMaxWallpaperHeight) return WallpaperFits;
  // On an axis too long: a stretched picture scales down to the limit, a centred one keeps the
  // middle of the limit's length, or one less where the old length is odd.
  const auto fitted = [stretched](int32_t length, int32_t limit) {
    if (length <= limit) return length;
    return stretched ? limit : limit - ((length - limit) & 1);
  };
  *width = fitted(w, kMaxWallpaperWidth);
  *height = fitted(h, kMaxWallpaperHeight);
  return stretched ? WallpaperScaled : WallpaperCut;
}

WallpaperFit FitWallpaper(BitmapRecord* record, bool stretched, int32_t* width, int32_t* height) {
  const int32_t w = ReadI32LE(record->infoHeader + 4);
  const int32_t rawHeight = ReadI32LE(record->infoHeader + 8);
  const int32_t h = rawHeight < 0 ? -rawHeight : rawHeight;
  *width = w;
  *height = h;
  int32_t nw, nh;
  if (FittedWallpaperSize(w, h, stretched, &nw, &nh) == WallpaperFits) return WallpaperFits;
  // The old rows straight from the record where it has the plain form, else from its decoding.
  DibPixels image;
  std::vector<uint32_t> scratch;
  const bool plain = PlainRows(*record, w, h);
  if (plain) {
    scratch.resize(static_cast<size_t>(w));
  } else {
    uint8_t info[kMaxPackedInfoSize];
    const uint32_t infoSize = PackBitmapInfo(*record, info);
    const char* why = nullptr;
    if (!DecodeDib(info, infoSize, record->bits, record->bitsSize, &image, &why)) return WallpaperUnfitted;
  }
  const uint32_t oldStride = (static_cast<uint32_t>(w) * 3 + 3) & ~3u;
  const auto fetch = [&](int32_t y) -> const uint32_t* {
    if (!plain) return image.pixels + static_cast<size_t>(y) * w;
    const uint8_t* in = record->bits + static_cast<size_t>(h - 1 - y) * oldStride;
    for (int32_t x = 0; x < w; ++x)
      scratch[static_cast<size_t>(x)] = static_cast<uint32_t>(in[3 * x + 2]) | static_cast<uint32_t>(in[3 * x + 1]) << 8 |
                                        static_cast<uint32_t>(in[3 * x]) << 16;
    return scratch.data();
  };
  // A bottom-up 24-bit record, rows padded to four bytes.
  const uint32_t stride = (static_cast<uint32_t>(nw) * 3 + 3) & ~3u;
  uint8_t* bits = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(stride) * nh, 1));
  if (!bits) {
    ReleaseDibPixels(&image);
    return WallpaperUnfitted;
  }
  const auto emit = [&](int32_t y, const uint32_t* kept) {
    uint8_t* row = bits + static_cast<size_t>(nh - 1 - y) * stride;
    for (int32_t x = 0; x < nw; ++x) {
      const uint32_t c = kept[x];
      row[3 * x] = static_cast<uint8_t>(c >> 16);  // blue, green, red
      row[3 * x + 1] = static_cast<uint8_t>(c >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(c);
    }
  };
  if (stretched) {
    RowScaler scaler(w, h, nw, nh);
    for (int32_t y = 0; y < nh; ++y) emit(y, scaler.Next(fetch));
  } else {
    const int32_t left = (w - nw) / 2, top = (h - nh) / 2;
    for (int32_t y = 0; y < nh; ++y) emit(y, fetch(top + y) + left);
  }
  ReleaseDibPixels(&image);
  std::free(record->bits);
  record->bits = bits;
  record->bitsSize = stride * static_cast<uint32_t>(nh);
  record->colourCount = 0;
  record->missingBits = 0;
  SetRecordForm(record, nw, nh, 24, kBiRgb, 0);
  *width = nw;
  *height = nh;
  return stretched ? WallpaperScaled : WallpaperCut;
}
