#include "scene_art.h"

#include "png_file.h"

#include <cmath>
#include <cstdio>


namespace {

void PutU16(std::vector<uint8_t>* out, uint32_t value) {
  out->push_back(uint8_t(value));
  out->push_back(uint8_t(value >> 8));
}

void PutU32(std::vector<uint8_t>* out, uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) return false;
  bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && ok;
}

std::vector<uint8_t> BmpHeaders(const Picture32& picture, uint16_t bits, uint32_t colours,
                                uint32_t imageSize) {
  std::vector<uint8_t> out;
  const uint32_t offset = 14 + 40 + 4 * colours;
  out.push_back('B');
  out.push_back('M');
  PutU32(&out, offset + imageSize);
  PutU32(&out, 0);
  PutU32(&out, offset);
  PutU32(&out, 40);
  PutU32(&out, uint32_t(picture.width));
  PutU32(&out, uint32_t(picture.height));
  PutU16(&out, 1);
  PutU16(&out, bits);
  PutU32(&out, 0);
  PutU32(&out, imageSize);
  PutU32(&out, 2835);
  PutU32(&out, 2835);
  PutU32(&out, colours);
  PutU32(&out, 0);
  return out;
}

uint32_t Rgb(int r, int g, int b) {
  auto clamp = [](int v) { return uint32_t(v < 0 ? 0 : v > 255 ? 255 : v); };
  return clamp(r) | (clamp(g) << 8) | (clamp(b) << 16);
}

const double kPi = 3.14159265358979323846;

}  // namespace

void Picture32::Fill(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour) {
  for (int32_t y = top < 0 ? 0 : top; y < bottom && y < height; ++y)
    for (int32_t x = left < 0 ? 0 : left; x < right && x < width; ++x) at(x, y) = colour;
}

void Picture32::Disc(int32_t cx, int32_t cy, int32_t radius, uint32_t colour) {
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius) at(x, y) = colour;
}

bool WriteBmp24(const std::string& path, const Picture32& picture) {
  const uint32_t stride = ((uint32_t(picture.width) * 24 + 31) / 32) * 4;
  std::vector<uint8_t> out = BmpHeaders(picture, 24, 0, stride * picture.height);
  for (int32_t y = picture.height - 1; y >= 0; --y) {
    uint32_t written = 0;
    for (int32_t x = 0; x < picture.width; ++x, written += 3) {
      uint32_t c = picture.pixels[size_t(y) * picture.width + x];
      out.push_back(uint8_t(c >> 16));
      out.push_back(uint8_t(c >> 8));
      out.push_back(uint8_t(c));
    }
    for (; written < stride; ++written) out.push_back(0);
  }
  return WriteFile(path, out);
}

bool WriteBmp8(const std::string& path, const Picture32& picture) {
  std::vector<uint32_t> palette;
  std::vector<uint8_t> indices;
  for (uint32_t c : picture.pixels) {
    size_t k = 0;
    while (k < palette.size() && palette[k] != c) ++k;
    if (k == palette.size()) {
      if (palette.size() == 256) return false;
      palette.push_back(c);
    }
    indices.push_back(uint8_t(k));
  }
  const uint32_t stride = ((uint32_t(picture.width) * 8 + 31) / 32) * 4;
  std::vector<uint8_t> out =
      BmpHeaders(picture, 8, uint32_t(palette.size()), stride * picture.height);
  for (uint32_t c : palette) {
    out.push_back(uint8_t(c >> 16));
    out.push_back(uint8_t(c >> 8));
    out.push_back(uint8_t(c));
    out.push_back(0);
  }
  for (int32_t y = picture.height - 1; y >= 0; --y) {
    for (int32_t x = 0; x < picture.width; ++x) out.push_back(indices[size_t(y) * picture.width + x]);
    for (uint32_t pad = uint32_t(picture.width); pad < stride; ++pad) out.push_back(0);
  }
  return WriteFile(path, out);
}

bool WriteChordWave(const std::string& path, uint32_t sampleRate, uint32_t milliseconds) {
  const uint32_t samples = sampleRate * milliseconds / 1000;
  std::vector<uint8_t> out;
  out.insert(out.end(), {'R', 'I', 'F', 'F'});
  PutU32(&out, 36 + samples);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  PutU32(&out, 16);
  PutU16(&out, 1);  // PCM
  PutU16(&out, 1);  // mono
  PutU32(&out, sampleRate);
  PutU32(&out, sampleRate);
  PutU16(&out, 1);
  PutU16(&out, 8);
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  PutU32(&out, samples);
  const double notes[] = {261.63, 329.63, 392.0};
  for (uint32_t i = 0; i < samples; ++i) {
    double t = double(i) / sampleRate, v = 0;
    for (double f : notes) v += std::sin(2 * kPi * f * t);
    // Fade in and out so that the loop does not click.
    double edge = std::fmin(1.0, std::fmin(i, samples - i) / (sampleRate * 0.05));
    out.push_back(uint8_t(128 + 30 * edge * v));
  }
  return WriteFile(path, out);
}

SettingsText& SettingsText::Set(const std::string& section, const std::string& key,
                                const std::string& value) {
  for (auto& s : sections_) {
    if (s.first != section) continue;
    s.second.emplace_back(key, value);
    return *this;
  }
  sections_.push_back({section, {{key, value}}});
  return *this;
}

SettingsText& SettingsText::Set(const std::string& section, const std::string& key, long value) {
  return Set(section, key, std::to_string(value));
}

SettingsText& SettingsText::Set(SettingId id, const std::string& value) { return SetFor(id, 0, value); }
SettingsText& SettingsText::Set(SettingId id, long value) { return SetFor(id, 0, std::to_string(value)); }
SettingsText& SettingsText::SetFor(SettingId id, int character, long value) {
  return SetFor(id, character, std::to_string(value));
}
SettingsText& SettingsText::SetFor(SettingId id, int character, const std::string& value) {
  return Set(Setting(id).section, SettingKeyOf(id, character).text, value);
}
SettingsText& SettingsText::SetFrame(int character, int slot, const std::string& name) {
  return Set(Setting(kFramePath).section, SettingKeyOf(kFramePath, character, slot).text, name);
}

bool SettingsText::Write(const std::string& path) const {
  std::string text;
  for (const auto& s : sections_) {
    text += "[" + s.first + "]\r\n";
    for (const auto& kv : s.second) text += kv.first + "=" + kv.second + "\r\n";
  }
  return WriteFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

namespace {

// The sample scene's fish: four frames of a round fish on white, its tail at four spreads, as
// frame slots 0 to 3 of `character`.
bool WriteFishFrames(const std::string& dir, SettingsText& settings, int character) {
  bool ok = true;
  for (int k = 0; k < 4; ++k) {
    Picture32 fish(72, 48, 0xFFFFFF);
    for (int32_t y = 0; y < 48; ++y)
      for (int32_t x = 0; x < 56; ++x) {
        double dx = (x - 30) / 26.0, dy = (y - 24) / 17.0;
        if (dx * dx + dy * dy <= 1) fish.at(x, y) = Rgb(255, 140 + 20 * (y / 8 % 2), 20);
      }
    int32_t spread = 6 + 4 * k;
    for (int32_t x = 54; x < 72; ++x) {
      int32_t half = (x - 54) * spread / 18 + 2;
      fish.Fill(x, 24 - half, x + 1, 24 + half, Rgb(230, 90, 10));
    }
    fish.Disc(18, 20, 4, 0x000000);
    fish.Disc(17, 19, 1, 0xFFFFFF);  // a white gleam inside the eye stays opaque
    std::string name = "fish" + std::to_string(k) + ".bmp";
    // Every character of a scene may swim with the same four files.
    if (character == 0) ok &= WriteBmp24(dir + name, fish);
    settings.SetFrame(character, k, name);
  }
  return ok;
}

// The sample scene's night sky (320 x 200), as sky.bmp.
bool WriteSkyWallpaper(const std::string& dir) {
  Picture32 sky(320, 200, 0);
  for (int32_t y = 0; y < 200; ++y)
    for (int32_t x = 0; x < 320; ++x) sky.at(x, y) = Rgb(10 + y / 4, 20 + y / 3, 60 + y / 2);
  uint32_t seed = 7;
  for (int i = 0; i < 60; ++i) {
    seed = seed * 1103515245 + 12345;
    sky.at(int32_t(seed >> 8) % 320, int32_t(seed >> 20) % 140) = 0xFFFFFF;
  }
  sky.Fill(0, 170, 320, 200, Rgb(30, 80, 40));
  return WriteBmp24(dir + "sky.bmp", sky);
}

}  // namespace

bool WriteDemoScene(const std::string& folder) {
  const std::string dir = folder + "/";
  bool ok = true;
  SettingsText settings;
  settings.Set(kRedrawPeriod, 40).Set(kFrameMultiplier, 4).Set(kTransparency, 1);

  // A: a round fish on white, swimming back and forth, its tail beating (ping-pong).
  ok &= WriteFishFrames(dir, settings, 0);
  settings.SetFor(kSpeedX, 0, 5).SetFor(kSpeedY, 0, 2).SetFor(kSpeedDepth, 0, 0).SetFor(kFrameStep, 0, 1);
  settings.SetFor(kBounceX, 0, 1).SetFor(kBounceY, 0, 1).SetFor(kBounceDepth, 0, 1).SetFor(kPingPong, 0, 1);
  settings.SetFor(kAppearanceRate, 0, 10);

  // B: a turning yellow star on a magenta background, wrapping sideways, breathing in depth.
  for (int k = 0; k < 3; ++k) {
    Picture32 star(56, 56, Rgb(255, 0, 255));
    double turn = k * kPi / 15;
    for (int32_t y = 0; y < 56; ++y)
      for (int32_t x = 0; x < 56; ++x) {
        double dx = x - 27.5, dy = y - 27.5, r = std::sqrt(dx * dx + dy * dy);
        double a = std::atan2(dy, dx) + turn;
        double edge = 14 + 12 * std::fabs(std::cos(2.5 * a));
        if (r <= edge) star.at(x, y) = r < 6 ? Rgb(255, 255, 255) : Rgb(255, 220, 0);
      }
    std::string name = "star" + std::to_string(k) + ".bmp";
    ok &= WriteBmp24(dir + name, star);
    settings.SetFrame(1, k, name);
  }
  settings.SetFor(kSpeedX, 1, -4).SetFor(kSpeedY, 1, 3).SetFor(kSpeedDepth, 1, 2).SetFor(kFrameStep, 1, 1);
  settings.SetFor(kBounceX, 1, 0).SetFor(kBounceY, 1, 1).SetFor(kBounceDepth, 1, 1).SetFor(kPingPong, 1, 0);
  settings.SetFor(kAppearanceRate, 1, 10);

  // C: a spinning green square in a 256-colour picture, shrinking away and coming back.
  for (int k = 0; k < 6; ++k) {
    Picture32 square(40, 40, 0xFFFFFF);
    double turn = k * kPi / 12, c = std::cos(turn), s = std::sin(turn);
    for (int32_t y = 0; y < 40; ++y)
      for (int32_t x = 0; x < 40; ++x) {
        double u = (x - 19.5) * c + (y - 19.5) * s, v = -(x - 19.5) * s + (y - 19.5) * c;
        if (std::fabs(u) < 13 && std::fabs(v) < 13)
          square.at(x, y) = (std::fabs(u) > 10 || std::fabs(v) > 10) ? Rgb(0, 90, 30) : Rgb(40, 200, 90);
      }
    std::string name = "square" + std::to_string(k) + ".bmp";
    ok &= WriteBmp8(dir + name, square);
    settings.SetFrame(2, k, name);
  }
  settings.SetFor(kSpeedX, 2, 6).SetFor(kSpeedY, 2, -5).SetFor(kSpeedDepth, 2, -3).SetFor(kFrameStep, 2, 1);
  settings.SetFor(kBounceX, 2, 1).SetFor(kBounceY, 2, 1).SetFor(kBounceDepth, 2, 0).SetFor(kPingPong, 2, 0);
  settings.SetFor(kAppearanceRate, 2, 10);

  // A night-sky wallpaper stretched over the screen, over a dark blue background colour.
  ok &= WriteSkyWallpaper(dir);
  settings.Set(kNoColour, 0).Set(kColourRed, 16).Set(kColourGreen, 24);
  settings.Set(kColourBlue, 64).Set(kWallpaperShown, 1).Set(kWallpaperStretched, 1);
  settings.Set(kWallpaperPath, "sky.bmp");

  ok &= WriteChordWave(dir + "chord.wav", 11025, 1500);
  settings.Set(kSoundOn, 1).Set(kSoundPath, "chord.wav");
  settings.Set(kMemo1, "Morvane sample scene").Set(kMemo2, "drawn by tools/demo-scene");
  ok &= settings.Write(dir + "MORVANE.INI");
  return ok;
}

namespace {

// Both benchmark scenes move alike, so that only the frames differ between them.
void SetBenchmarkMotion(SettingsText* settings) {
  settings->Set(kRedrawPeriod, 40).Set(kFrameMultiplier, 5).Set(kTransparency, 1);
  for (int c = 0; c < kCharacterCount; ++c) {
    settings->SetFor(kSpeedX, c, (c % 2 ? 1 : -1) * (2 + c % 5)).SetFor(kSpeedY, c, 1 + c % 4);
    settings->SetFor(kSpeedDepth, c, 0).SetFor(kFrameStep, c, 1);
    settings->SetFor(kBounceX, c, 1).SetFor(kBounceY, c, 1).SetFor(kBounceDepth, c, 1);
    settings->SetFor(kAppearanceRate, c, 10);
  }
  settings->Set(kNoColour, 0).Set(kColourRed, 20).Set(kColourGreen, 40);
  settings->Set(kColourBlue, 90).Set(kWallpaperShown, 0);
}

// Alpha 0 to 255 of a disc of `radius` at (cx, cy) whose edge fades over `soft` pixels.
double SoftDisc(double x, double y, double cx, double cy, double radius, double soft) {
  const double inside = (radius - std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy))) / soft;
  return inside <= 0 ? 0 : inside >= 1 ? 255 : 255 * inside;
}

}  // namespace

bool WriteBenchmarkScene(const std::string& folder) {
  const std::string dir = folder + "/";
  bool ok = true;
  SettingsText settings;
  SetBenchmarkMotion(&settings);
  for (int c = 0; c < kCharacterCount; ++c) {
    for (int k = 0; k < 2; ++k) {
      // A ring on white: the white corner area is transparent, the ring and its middle opaque.
      Picture32 ring(96, 96, 0xFFFFFF);
      ring.Disc(48, 48, 44, Rgb(40 + 10 * c, 200 - 8 * c, 60 + 90 * k));
      ring.Disc(48, 48, 28 - 6 * k, Rgb(250, 230, 40));
      const std::string name = "ring" + std::to_string(c) + "_" + std::to_string(k) + ".bmp";
      ok &= WriteBmp24(dir + name, ring);
      settings.SetFrame(c, k, name);
    }
  }
  ok &= settings.Write(dir + "MORVANE.INI");
  return ok;
}

bool WriteAlphaBenchmarkScene(const std::string& folder) {
  const std::string dir = folder + "/";
  bool ok = true;
  SettingsText settings;
  SetBenchmarkMotion(&settings);
  for (int c = 0; c < kCharacterCount; ++c) {
    for (int k = 0; k < 2; ++k) {
      // A ball with an anti-aliased edge over its soft shadow, down and to the right of it.
      std::vector<uint8_t> rgba(96 * 96 * 4);
      const double r = 40 + 10 * c, g = 200 - 8 * c, b = 60 + 90 * k;
      for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 96; ++x) {
          const double ball = SoftDisc(x + 0.5, y + 0.5, 42, 42, 34 - 3 * k, 2.5) / 255;
          const double shade = 0.55 * SoftDisc(x + 0.5, y + 0.5, 52, 54, 38, 16) / 255;
          const double light = 1 - 0.5 * std::sqrt(((x - 32) * (x - 32) + (y - 30) * (y - 30)) / 2400.0);
          // The ball over its shadow, as one picture: alpha and colour of the two combined.
          const double alpha = ball + shade * (1 - ball);
          uint8_t* pixel = &rgba[(size_t(y) * 96 + x) * 4];
          const double over = alpha > 0 ? ball / alpha : 0;
          pixel[0] = uint8_t(std::lround(std::fmin(255, r * light) * over));
          pixel[1] = uint8_t(std::lround(std::fmin(255, g * light) * over));
          pixel[2] = uint8_t(std::lround(std::fmin(255, b * light) * over));
          pixel[3] = uint8_t(std::lround(255 * alpha));
        }
      const std::string name = "ball" + std::to_string(c) + "_" + std::to_string(k) + ".png";
      ok &= WritePngRgba(dir + name, 96, 96, rgba);
      settings.SetFrame(c, k, name);
    }
  }
  ok &= settings.Write(dir + "MORVANE.INI");
  return ok;
}

bool WriteHeavyScene(const std::string& folder) {
  const std::string dir = folder + "/";
  bool ok = WriteSkyWallpaper(dir);
  SettingsText settings;
  settings.Set(kRedrawPeriod, 40).Set(kFrameMultiplier, 4).Set(kTransparency, 1);
  for (int c = 0; c < kCharacterCount; ++c) {
    ok &= WriteFishFrames(dir, settings, c);
    // Speeds differ from fish to fish so that they spread out and their depths drift apart.
    settings.SetFor(kSpeedX, c, (c % 2 ? 1 : -1) * (2 + c % 5)).SetFor(kSpeedY, c, (c % 3 ? 1 : -1) * (1 + c % 4));
    settings.SetFor(kSpeedDepth, c, (c % 2 ? -1 : 1) * (1 + c % 3)).SetFor(kFrameStep, c, 1);
    settings.SetFor(kBounceX, c, 1).SetFor(kBounceY, c, 1).SetFor(kBounceDepth, c, 1).SetFor(kPingPong, c, 1);
    settings.SetFor(kAppearanceRate, c, 10);
  }
  settings.Set(kNoColour, 0).Set(kColourRed, 16).Set(kColourGreen, 24).Set(kColourBlue, 64);
  settings.Set(kWallpaperShown, 1).Set(kWallpaperStretched, 1).Set(kWallpaperPath, "sky.bmp");
  ok &= settings.Write(dir + "MORVANE.INI");
  return ok;
}
