// The colour table of an animated GIF, chosen the same way on every run: the exact colours when
// the whole run holds no more than fit, else a median cut of all pictures' colours.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// A GIF table holds 256 colours; one index stays free to mark pixels that did not change.
const int kGifColours = 255;

class GifPalette {
 public:
  GifPalette();
  // Counts the colours of one picture (0x00BBGGRR).
  void Count(const uint32_t* pixels, size_t count);
  // Chooses the table once every picture is counted.
  void Choose();
  // The chosen colours, 0x00BBGGRR, at most kGifColours.
  const std::vector<uint32_t>& colours() const { return colours_; }
  // The table index for a colour.
  uint8_t IndexOf(uint32_t colour) const;
  bool exact() const { return exact_; }

 private:
  static uint32_t Bin(uint32_t colour);
  struct Box;
  void Split(std::vector<Box>* boxes) const;

  // Exact colours while there are few enough, sorted.
  std::vector<uint32_t> exactColours_;
  bool exact_ = true;
  // 5 bits per channel: pixel count and channel sums per bin, for the median cut.
  std::vector<uint64_t> binCount_, binRed_, binGreen_, binBlue_;
  std::vector<uint8_t> binIndex_;
  std::vector<uint32_t> colours_;
};
