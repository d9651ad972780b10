// Shared pieces of the picture tests: the fixtures drawn once per test program, and pictures
// decoded by the Linux decoder.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "picture_codec.h"

// The folder of the drawn fixtures, with a trailing '/'.
const std::string& PictureFixtures();
std::vector<uint8_t> FixtureBytes(const std::string& name);

struct DecodedPicture {
  bool ok = false;
  std::string why;
  int32_t width = 0, height = 0;
  std::vector<std::vector<uint8_t>> frames;  // RGBA each
};

// Every frame, through the Linux decoder's seam.
DecodedPicture DecodeWithLibraries(const std::vector<uint8_t>& bytes, PictureFormat format);
