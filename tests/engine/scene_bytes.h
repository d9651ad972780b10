// Hand-made scene packages and pictures for the engine tests: each package is written field by
// field in the record order, so a test can damage or cut it wherever it likes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Surface;

// A picture drawn in letters, one string per row: '.' white, '#' black, 'r' red, 'g' green,
// 'b' blue, 'm' magenta, 'y' yellow.
std::vector<std::string> Picture(std::initializer_list<const char*> rows);
uint32_t LetterColour(char letter);

// A frame record body (header size, bits size, header, pixels) of a 24-bit bottom-up picture,
// without its tag.
std::vector<uint8_t> FrameRecordBody(const std::vector<std::string>& rows);
// The same for a w x h picture of one colour.
std::vector<uint8_t> SolidFrameRecordBody(int32_t width, int32_t height, uint32_t colour);

struct Motion {
  int32_t speedX = 0, speedY = 0, speedDepth = 0, frameStep = 1;
  uint8_t bounceX = 1, bounceY = 1, bounceDepth = 1, pingPong = 0, visibleRate = 10;
};

class PackageBytes {
 public:
  PackageBytes& Memo(const std::vector<std::string>& lines = {});
  PackageBytes& Timing(int32_t redraw = 50, int32_t multiplier = 10, uint8_t transparent = 0);
  PackageBytes& Frame(const std::vector<uint8_t>& body);
  PackageBytes& Motion(const ::Motion& motion);
  PackageBytes& Background(bool noColour, uint32_t colour);
  PackageBytes& NoWallpaper();
  PackageBytes& Wallpaper(const std::vector<uint8_t>& body, bool stretch);
  PackageBytes& Sound(const std::vector<uint8_t>& wave);
  PackageBytes& U8(uint8_t value);
  PackageBytes& I32(int32_t value);

  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

// The letters of a surface, for comparisons in messages ('?' for colours without a letter).
std::vector<std::string> Letters(const Surface* surface);
// A new surface holding the picture.
Surface* MakeSurface(const std::vector<std::string>& rows);
