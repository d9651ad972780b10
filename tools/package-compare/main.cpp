// morvane-package-compare A.scr B.scr: compares two packaged savers record by record. Frames
// whose bytes differ are decoded and their largest channel difference printed, so that two
// builds from the same settings can be told apart by decoder rounding alone.
//   exit 0: same bytes; 1: same records, some frames' pixels differ; 2: the packages differ in
//   anything else (player image, memo, timing, motion, sizes, background, sound); 3: usage or
//   unreadable files.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "dib_image.h"
#include "package_reader.h"

namespace {

std::vector<uint8_t> ReadAll(const char* path) {
  std::vector<uint8_t> bytes;
  FILE* file = std::fopen(path, "rb");
  if (!file) return bytes;
  uint8_t chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  std::fclose(file);
  return bytes;
}

bool SameBlock(const uint8_t* a, size_t aSize, const uint8_t* b, size_t bSize) {
  return aSize == bSize && (aSize == 0 || std::memcmp(a, b, aSize) == 0);
}

// -1 when the two records cannot be compared pixel for pixel (sizes differ, or one does not decode).
int LargestDifference(const FrameRecordView& a, const FrameRecordView& b) {
  DibPixels pa, pb;
  const char* why = nullptr;
  if (!DecodeDib(a.header, a.headerSize, a.bits, a.bitsSize, &pa, &why)) return -1;
  if (!DecodeDib(b.header, b.headerSize, b.bits, b.bitsSize, &pb, &why)) {
    ReleaseDibPixels(&pa);
    return -1;
  }
  int largest = -1;
  if (pa.width == pb.width && pa.height == pb.height) {
    largest = 0;
    for (size_t i = 0; i < size_t(pa.width) * size_t(pa.height); ++i)
      for (int shift = 0; shift < 24; shift += 8)
        largest = std::max(largest, std::abs(int((pa.pixels[i] >> shift) & 0xFF) - int((pb.pixels[i] >> shift) & 0xFF)));
  }
  ReleaseDibPixels(&pa);
  ReleaseDibPixels(&pb);
  return largest;
}

struct Comparison {
  bool structureDiffers = false;
  int framesDiffering = 0;
  int largest = 0;

  void Frame(const std::string& name, const FrameRecordView& a, const FrameRecordView& b) {
    if (SameBlock(a.header, a.headerSize, b.header, b.headerSize) && SameBlock(a.bits, a.bitsSize, b.bits, b.bitsSize)) return;
    int difference = LargestDifference(a, b);
    if (difference < 0) {
      std::printf("%s: the records cannot be compared pixel for pixel\n", name.c_str());
      structureDiffers = true;
      return;
    }
    std::printf("%s: largest channel difference %d\n", name.c_str(), difference);
    ++framesDiffering;
    largest = std::max(largest, difference);
  }

  void Other(const char* what, bool same) {
    if (same) return;
    std::printf("%s differs\n", what);
    structureDiffers = true;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "Usage: morvane-package-compare A.scr B.scr\n");
    return 3;
  }
  std::vector<uint8_t> a = ReadAll(argv[1]), b = ReadAll(argv[2]);
  ScenePackageView va, vb;
  PackageError error;
  for (int i = 0; i < 2; ++i) {
    const std::vector<uint8_t>& bytes = i == 0 ? a : b;
    ScenePackageView* view = i == 0 ? &va : &vb;
    if (bytes.size() < kPlayerImageSize ||
        !ReadScenePackage(bytes.data() + kPlayerImageSize, bytes.size() - kPlayerImageSize, view, &error)) {
      std::fprintf(stderr, "morvane-package-compare: %s is not a packaged saver that reads whole\n", argv[1 + i]);
      return 3;
    }
  }
  if (a == b) {
    std::printf("same bytes\n");
    return 0;
  }

  Comparison c;
  c.Other("player image", std::memcmp(a.data(), b.data(), kPlayerImageSize) == 0);
  for (uint32_t line = 0; line < kMemoLineCount; ++line)
    c.Other("memo", SameBlock(va.memo[line].text, va.memo[line].length, vb.memo[line].text, vb.memo[line].length));
  c.Other("timing", std::memcmp(&va.timing, &vb.timing, sizeof va.timing) == 0);
  c.Other("character count", va.characterCount == vb.characterCount);
  for (uint32_t k = 0; k < std::min(va.characterCount, vb.characterCount); ++k) {
    const CharacterGroupView& ca = va.characters[k];
    const CharacterGroupView& cb = vb.characters[k];
    c.Other("frame count", ca.frameCount == cb.frameCount);
    c.Other("motion", std::memcmp(&ca.motion, &cb.motion, sizeof ca.motion) == 0);
    for (uint32_t f = 0; f < std::min(ca.frameCount, cb.frameCount); ++f)
      c.Frame("character " + std::to_string(k + 1) + " frame " + std::to_string(f + 1), ca.frames[f], cb.frames[f]);
  }
  c.Other("background", std::memcmp(&va.background, &vb.background, sizeof va.background) == 0);
  if (va.background.wallpaper && vb.background.wallpaper) c.Frame("wallpaper", va.wallpaper, vb.wallpaper);
  c.Other("sound", SameBlock(va.sound, va.soundSize, vb.sound, vb.soundSize));

  if (c.structureDiffers) return 2;
  std::printf("same records; %d frames differ, largest channel difference %d\n", c.framesDiffering, c.largest);
  return 1;
}
