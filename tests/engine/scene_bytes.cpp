#include "scene_bytes.h"

#include <cstring>

#include "surface.h"

namespace {

void PutU32(std::vector<uint8_t>* out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutU16(std::vector<uint8_t>* out, uint16_t value) {
  out->push_back(static_cast<uint8_t>(value));
  out->push_back(static_cast<uint8_t>(value >> 8));
}

const struct {
  char letter;
  uint32_t colour;
} kLetters[] = {{'.', 0xFFFFFF}, {'#', 0x000000}, {'r', 0x0000FF}, {'g', 0x00FF00},
                {'b', 0xFF0000}, {'m', 0xFF00FF}, {'y', 0x00FFFF}};

std::vector<uint8_t> RecordBody(int32_t width, int32_t height,
                                uint32_t (*colourAt)(const void*, int32_t, int32_t),
                                const void* context) {
  const uint32_t stride = ((width * 24 + 31) / 32) * 4;
  std::vector<uint8_t> body;
  PutU32(&body, 40);
  PutU32(&body, stride * height);
  PutU32(&body, 40);
  PutU32(&body, static_cast<uint32_t>(width));
  PutU32(&body, static_cast<uint32_t>(height));
  PutU16(&body, 1);
  PutU16(&body, 24);
  PutU32(&body, 0);
  PutU32(&body, stride * height);
  PutU32(&body, 2835);
  PutU32(&body, 2835);
  PutU32(&body, 0);
  PutU32(&body, 0);
  for (int32_t row = height - 1; row >= 0; --row) {
    uint32_t written = 0;
    for (int32_t x = 0; x < width; ++x, written += 3) {
      uint32_t colour = colourAt(context, x, row);
      body.push_back(static_cast<uint8_t>(colour >> 16));
      body.push_back(static_cast<uint8_t>(colour >> 8));
      body.push_back(static_cast<uint8_t>(colour));
    }
    for (; written < stride; ++written) body.push_back(0);
  }
  return body;
}

}  // namespace

std::vector<std::string> Picture(std::initializer_list<const char*> rows) {
  return std::vector<std::string>(rows.begin(), rows.end());
}

uint32_t LetterColour(char letter) {
  for (const auto& entry : kLetters)
    if (entry.letter == letter) return entry.colour;
  return 0x808080;
}

std::vector<uint8_t> FrameRecordBody(const std::vector<std::string>& rows) {
  return RecordBody(
      static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size()),
      [](const void* context, int32_t x, int32_t y) {
        return LetterColour((*static_cast<const std::vector<std::string>*>(context))[y][x]);
      },
      &rows);
}

std::vector<uint8_t> SolidFrameRecordBody(int32_t width, int32_t height, uint32_t colour) {
  return RecordBody(
      width, height,
      [](const void* context, int32_t, int32_t) { return *static_cast<const uint32_t*>(context); },
      &colour);
}

PackageBytes& PackageBytes::Memo(const std::vector<std::string>& lines) {
  for (size_t i = 0; i < 5; ++i) {
    std::string line = i < lines.size() ? lines[i] : "";
    PutU32(&bytes_, static_cast<uint32_t>(line.size()));
    bytes_.insert(bytes_.end(), line.begin(), line.end());
  }
  return *this;
}

PackageBytes& PackageBytes::Timing(int32_t redraw, int32_t multiplier, uint8_t transparent) {
  bytes_.push_back('T');
  PutU32(&bytes_, static_cast<uint32_t>(redraw));
  PutU32(&bytes_, static_cast<uint32_t>(multiplier));
  bytes_.push_back(transparent);
  return *this;
}

PackageBytes& PackageBytes::Frame(const std::vector<uint8_t>& body) {
  bytes_.push_back('B');
  bytes_.insert(bytes_.end(), body.begin(), body.end());
  return *this;
}

PackageBytes& PackageBytes::Motion(const ::Motion& m) {
  bytes_.push_back('P');
  PutU32(&bytes_, static_cast<uint32_t>(m.speedX));
  PutU32(&bytes_, static_cast<uint32_t>(m.speedY));
  PutU32(&bytes_, static_cast<uint32_t>(m.speedDepth));
  PutU32(&bytes_, static_cast<uint32_t>(m.frameStep));
  bytes_.push_back(m.bounceX);
  bytes_.push_back(m.bounceY);
  bytes_.push_back(m.bounceDepth);
  bytes_.push_back(m.pingPong);
  bytes_.push_back(m.visibleRate);
  return *this;
}

PackageBytes& PackageBytes::Background(bool noColour, uint32_t colour) {
  bytes_.push_back('G');
  PutU32(&bytes_, noColour ? 1 : 0);
  if (!noColour) {
    PutU32(&bytes_, colour & 0xFF);
    PutU32(&bytes_, (colour >> 8) & 0xFF);
    PutU32(&bytes_, (colour >> 16) & 0xFF);
  }
  return *this;
}

PackageBytes& PackageBytes::NoWallpaper() {
  PutU32(&bytes_, 0);
  PutU32(&bytes_, 0);
  return *this;
}

PackageBytes& PackageBytes::Wallpaper(const std::vector<uint8_t>& body, bool stretch) {
  PutU32(&bytes_, 1);
  PutU32(&bytes_, stretch ? 1 : 0);
  return Frame(body);
}

PackageBytes& PackageBytes::Sound(const std::vector<uint8_t>& wave) {
  bytes_.push_back('S');
  PutU32(&bytes_, static_cast<uint32_t>(wave.size()));
  bytes_.insert(bytes_.end(), wave.begin(), wave.end());
  return *this;
}

PackageBytes& PackageBytes::U8(uint8_t value) {
  bytes_.push_back(value);
  return *this;
}

PackageBytes& PackageBytes::I32(int32_t value) {
  PutU32(&bytes_, static_cast<uint32_t>(value));
  return *this;
}

std::vector<std::string> Letters(const Surface* surface) {
  std::vector<std::string> rows;
  for (int32_t y = 0; y < SurfaceHeight(surface); ++y) {
    std::string row;
    for (int32_t x = 0; x < SurfaceWidth(surface); ++x) {
      uint32_t colour = ReadSurfacePixel(surface, x, y);
      char letter = '?';
      for (const auto& entry : kLetters)
        if (entry.colour == colour) letter = entry.letter;
      row.push_back(letter);
    }
    rows.push_back(row);
  }
  return rows;
}

Surface* MakeSurface(const std::vector<std::string>& rows) {
  const int32_t w = static_cast<int32_t>(rows[0].size()), h = static_cast<int32_t>(rows.size());
  Surface* surface = CreateSurface(nullptr, w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) FillSurface(surface, x, y, x + 1, y + 1, LetterColour(rows[y][x]));
  return surface;
}
