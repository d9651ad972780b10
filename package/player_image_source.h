// Where the builder gets the player image that starts every packaged saver.
#pragma once
#include <cstdint>

#include "build_files.h"

class PlayerImageSource {
 public:
  // Fills image with the 49152 bytes of the player; false, with a reason, when it cannot.
  virtual bool ReadPlayerImage(uint8_t* image, const char** why) = 0;

 protected:
  ~PlayerImageSource() {}
};

// The last 49152 bytes of a file: the designer's own executable carries the player at its end,
// and a bare player image is exactly that long.
class TrailingPlayerImage : public PlayerImageSource {
 public:
  TrailingPlayerImage(BuildFiles* files, const char* path) : files_(files), path_(path) {}
  bool ReadPlayerImage(uint8_t* image, const char** why) override;

 private:
  BuildFiles* files_;
  const char* path_;
};
