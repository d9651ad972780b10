#include "picture_test_support.h"

#include <gtest/gtest.h>

#include "build_test_support.h"
#include "library_picture_codec.h"
#include "picture_fixtures.h"
#include "picture_frames.h"

const std::string& PictureFixtures() {
  static ScratchFolder folder;
  static const std::string path = folder.path() + "/";
  static const bool written = WritePictureFixtures(path);
  EXPECT_TRUE(written);
  return path;
}

std::vector<uint8_t> FixtureBytes(const std::string& name) {
  std::vector<uint8_t> bytes = ReadFileBytes(PictureFixtures() + name);
  EXPECT_FALSE(bytes.empty()) << name;
  return bytes;
}

DecodedPicture DecodeWithLibraries(const std::vector<uint8_t>& bytes) {
  LibraryPictureCodec decoder;
  OpenLibraryPictureCodec(&decoder);
  PictureFrames frames;
  DecodedPicture result;
  const char* why = nullptr;
  MemoryByteSource file(bytes.data(), bytes.size());
  result.ok = OpenPictureFrames(&frames, &decoder.base, file.Whole(), &why);
  result.width = frames.width;
  result.height = frames.height;
  while (result.ok) {
    std::vector<uint8_t> frame(size_t(result.width) * result.height * 4);
    PictureStep step = decoder.base.nextFrame(&decoder.base, frame.data(), &why);
    if (step == PictureEnded) break;
    result.ok = step == PictureFrameReady;
    if (result.ok) result.frames.push_back(frame);
  }
  if (!result.ok) result.why = why ? why : "";
  ClosePictureFrames(&frames);
  return result;
}
