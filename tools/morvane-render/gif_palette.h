// The colour table of an animated GIF, chosen the same way on every run: the exact colours when
// the whole run holds no more than fit; else libimagequant's table for the colours of all the
// pictures, onto which each picture is dithered so that gradients do not band.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct liq_attr;
struct liq_histogram;
struct liq_result;

// A GIF table holds 256 colours; one index stays free to mark pixels that did not change.
const int kGifColours = 255;

class GifPalette {
 public:
  GifPalette();
  ~GifPalette();
  GifPalette(const GifPalette&) = delete;
  GifPalette& operator=(const GifPalette&) = delete;

  // Counts the colours of one picture (0x00BBGGRR, top row first). False when the library
  // refuses the picture (out of memory).
  bool Count(const uint32_t* pixels, int32_t width, int32_t height);
  // Chooses the table once every picture is counted; false with the reason when it cannot.
  bool Choose(std::string* problem);
  // The chosen colours, 0x00BBGGRR, at most kGifColours.
  const std::vector<uint32_t>& colours() const { return colours_; }
  bool exact() const { return exact_; }
  // The table index of every pixel of a picture: its own colour's where the table is exact,
  // else the picture dithered onto the table. False when the library fails.
  bool Map(const uint32_t* pixels, int32_t width, int32_t height, std::vector<uint8_t>* indices);

 private:
  // Exact colours while there are few enough, sorted.
  std::vector<uint32_t> exactColours_;
  bool exact_ = true;
  liq_attr* attributes_ = nullptr;
  liq_histogram* histogram_ = nullptr;
  liq_result* result_ = nullptr;
  std::vector<uint32_t> rgba_;  // one picture as the library reads it
  std::vector<uint32_t> colours_;
};
