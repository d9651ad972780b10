// An animated GIF, looping for ever: the first picture whole, each later one as the rectangle
// that changed, with the unchanged pixels inside it left transparent; a picture equal to the one
// before only lengthens that one's time on screen.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "file_replacement.h"
#include "gif_palette.h"

struct GifFileType;

class GifOutput {
 public:
  // Opens the new version of `path` (the old one stays until Close); the table must be chosen
  // already.
  bool Open(const std::string& path, int32_t width, int32_t height, GifPalette* palette,
            std::string* problem);
  // The picture shown from `centiseconds` after the start.
  bool Add(const uint32_t* pixels, int64_t centiseconds);
  // Writes the last picture, shown until `endCentiseconds`, and puts the file in place.
  bool Close(int64_t endCentiseconds, std::string* problem);
  // Removes what was written, when the run failed.
  void Abandon();

 private:
  bool WritePending(int64_t untilCentiseconds);

  GifFileType* gif_ = nullptr;
  std::string path_;
  FileReplacement file_ = {};
  int32_t width_ = 0, height_ = 0;
  GifPalette* palette_ = nullptr;
  std::vector<uint8_t> indices_;  // the pending picture's table indices
  std::vector<uint32_t> shown_;  // the canvas as the pictures written so far leave it
  std::vector<uint32_t> pending_;  // the picture not yet written
  int64_t pendingSince_ = -1;
  bool failed_ = false;
};
