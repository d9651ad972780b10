// Pictures, a wave and a settings file drawn by the project itself: the demo's sample scene and
// the scenes the Windows tests play. Nothing comes from outside artwork.
#pragma once
#include "setting_table.h"
#include <cstdint>
#include <string>
#include <vector>

// Pixels are 0x00BBGGRR, top row first.
struct Picture32 {
  int32_t width = 0, height = 0;
  std::vector<uint32_t> pixels;
  Picture32(int32_t w, int32_t h, uint32_t fill) : width(w), height(h), pixels(size_t(w) * h, fill) {}
  uint32_t& at(int32_t x, int32_t y) { return pixels[size_t(y) * width + x]; }
  void Fill(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour);
  void Disc(int32_t cx, int32_t cy, int32_t radius, uint32_t colour);
};

// A bottom-up 24-bit .bmp file.
bool WriteBmp24(const std::string& path, const Picture32& picture);
// A bottom-up 8-bit .bmp file with a palette of the picture's colours (at most 256).
bool WriteBmp8(const std::string& path, const Picture32& picture);
// A mono 8-bit PCM .wav of a soft chord.
bool WriteChordWave(const std::string& path, uint32_t sampleRate, uint32_t milliseconds);

// MORVANE.INI text: sections in the order given, keys as given.
class SettingsText {
 public:
  SettingsText& Set(const std::string& section, const std::string& key, const std::string& value);
  SettingsText& Set(const std::string& section, const std::string& key, long value);
  // The settings table's keys: a scene's own, a character's, a character's frame slot.
  SettingsText& Set(SettingId id, const std::string& value);
  SettingsText& Set(SettingId id, long value);
  SettingsText& SetFor(SettingId id, int character, long value);
  SettingsText& SetFor(SettingId id, int character, const std::string& value);
  SettingsText& SetFrame(int character, int slot, const std::string& name);
  bool Write(const std::string& path) const;

 private:
  std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> sections_;
};

// The demo: three animated characters (one on a white, one on a magenta background), a
// stretched wallpaper, a background colour and a short looping chord. Frame files are named
// relative to `folder`, where MORVANE.INI is written too.
bool WriteDemoScene(const std::string& folder);

// The players' benchmark: 20 masked 96 x 96 characters of two frames each at their natural
// size, bouncing over a plain background colour, painted 25 times a second; no sound.
bool WriteBenchmarkScene(const std::string& folder);
// The same scene with frames that carry their own alpha: 20 balls of 96 x 96 with soft edges
// and soft shadows, as PNG pictures.
bool WriteAlphaBenchmarkScene(const std::string& folder);

// The players' heavy scene: 20 of the sample scene's masked fish moving on all three axes (so
// scaled at almost every paint) over its wallpaper stretched over the screen, painted 25 times a
// second; no sound.
bool WriteHeavyScene(const std::string& folder);
