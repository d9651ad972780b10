// Where the builder gets the player image that starts every packaged saver.
#pragma once
#include <cstdint>

#include "build_files.h"

struct PlayerImageSource {
  // The 49152 bytes of the player, kept by the source for as long as it lives; null, with a
  // reason, when they cannot be had.
  const uint8_t* (*playerImage)(PlayerImageSource* source, const char** why);
};

// The last 49152 bytes of a file: the designer's own executable carries the player at its end,
// and a bare player image is exactly that long. A signed designer carries its signature after
// the player: the image is then the 49152 bytes before it.
class TrailingPlayerImage : public PlayerImageSource {
 public:
  TrailingPlayerImage(BuildFiles* files, const char* path);
  ~TrailingPlayerImage();
  TrailingPlayerImage(const TrailingPlayerImage&) = delete;
  TrailingPlayerImage& operator=(const TrailingPlayerImage&) = delete;

 private:
  static const uint8_t* PlayerImage(PlayerImageSource* source, const char** why);

  BuildFiles* files_;
  const char* path_;
  uint8_t* image_ = nullptr;
};
