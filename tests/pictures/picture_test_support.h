// Shared pieces of the picture tests: the fixtures drawn once per test program, and pictures
// decoded by the Linux decoder.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The folder of the drawn fixtures, with a trailing '/'.
const std::string& PictureFixtures();
std::vector<uint8_t> FixtureBytes(const std::string& name);

struct DecodedPicture {
  bool ok = false;
  std::string why;
  int32_t width = 0, height = 0;
  std::vector<std::vector<uint8_t>> frames;  // RGBA each
};

// Every frame of a picture file (a bitmap wrapping a PNG or JPEG too) as the Linux decoders give
// it to the builder, before transparency is settled.
DecodedPicture DecodeWithLibraries(const std::vector<uint8_t>& bytes);
