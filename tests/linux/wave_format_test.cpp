// Wave images as the scene's sound record carries them: the forms that play, and damage that
// must be refused or cut without reading past the image.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "wave_format.h"

namespace {

void Put16(std::vector<uint8_t>* b, uint32_t v) {
  b->push_back(static_cast<uint8_t>(v));
  b->push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>* b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

void PutTag(std::vector<uint8_t>* b, const char* tag) {
  b->insert(b->end(), tag, tag + 4);
}

struct Fmt {
  uint16_t code = 1, channels = 1;
  uint32_t rate = 22050;
  uint16_t bits = 16;
  uint16_t subCode = 0;  // set: the extensible form with this sub-format
};

// RIFF, an optional odd-sized chunk before the format (padded), the format, then the data.
std::vector<uint8_t> Wave(const Fmt& f, uint32_t dataBytes, uint32_t statedData, bool junkFirst = false) {
  std::vector<uint8_t> b;
  PutTag(&b, "RIFF");
  Put32(&b, 0);
  PutTag(&b, "WAVE");
  if (junkFirst) {
    PutTag(&b, "LIST");
    Put32(&b, 3);
    b.insert(b.end(), {1, 2, 3, 0});
  }
  PutTag(&b, "fmt ");
  const uint16_t align = static_cast<uint16_t>(f.channels * (f.bits / 8));
  Put32(&b, f.subCode ? 40 : 16);
  Put16(&b, f.subCode ? 0xFFFE : f.code);
  Put16(&b, f.channels);
  Put32(&b, f.rate);
  Put32(&b, f.rate * align);
  Put16(&b, align);
  Put16(&b, f.bits);
  if (f.subCode) {
    Put16(&b, 22);
    Put16(&b, f.bits);
    Put32(&b, 0);
    Put16(&b, f.subCode);
    b.insert(b.end(), 14, 0);
  }
  PutTag(&b, "data");
  Put32(&b, statedData);
  for (uint32_t i = 0; i < dataBytes; ++i) b.push_back(static_cast<uint8_t>(i * 7));
  return b;
}

TEST(WaveFormat, FormsThatPlay) {
  struct Case {
    const char* name;
    Fmt fmt;
    WaveSampleFormat format;
    uint32_t frameBytes;
  } cases[] = {
      {"8-bit mono", {1, 1, 11025, 8, 0}, WaveU8, 1},
      {"16-bit stereo", {1, 2, 44100, 16, 0}, WaveS16, 4},
      {"24-bit stereo", {1, 2, 48000, 24, 0}, WaveS24, 6},
      {"32-bit", {1, 1, 48000, 32, 0}, WaveS32, 4},
      {"float", {3, 2, 48000, 32, 0}, WaveFloat32, 8},
      {"A-law", {6, 1, 8000, 8, 0}, WaveALaw, 1},
      {"mu-law", {7, 1, 8000, 8, 0}, WaveMuLaw, 1},
      {"extensible PCM", {1, 6, 48000, 16, 1}, WaveS16, 12},
      {"extensible float", {1, 2, 96000, 32, 3}, WaveFloat32, 8},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> image = Wave(c.fmt, 240, 240, true);
    WaveSound sound;
    const char* why = nullptr;
    ASSERT_TRUE(ParseWave(image.data(), image.size(), &sound, &why)) << c.name << ": " << why;
    EXPECT_EQ(sound.format, c.format) << c.name;
    EXPECT_EQ(sound.channels, c.fmt.channels) << c.name;
    EXPECT_EQ(sound.rate, c.fmt.rate) << c.name;
    EXPECT_EQ(sound.frameBytes, c.frameBytes) << c.name;
    EXPECT_EQ(sound.data, image.data() + image.size() - 240) << c.name;
    EXPECT_EQ(sound.size, 240u - 240u % c.frameBytes) << c.name;
  }
}

TEST(WaveFormat, DamageIsRefusedOrCut) {
  WaveSound sound;
  const char* why = nullptr;
  // A data chunk that claims more than the image holds plays the whole frames that are there.
  std::vector<uint8_t> cut = Wave(Fmt{1, 2, 22050, 16, 0}, 103, 100000);
  ASSERT_TRUE(ParseWave(cut.data(), cut.size(), &sound, &why)) << why;
  EXPECT_EQ(sound.size, 100u);

  struct Refusal {
    const char* name;
    std::vector<uint8_t> image;
  };
  std::vector<Refusal> refusals = {
      {"empty", {}},
      {"not RIFF", std::vector<uint8_t>(64, 'x')},
      {"ADPCM", Wave(Fmt{2, 1, 22050, 4, 0}, 64, 64)},
      {"12-bit PCM", Wave(Fmt{1, 1, 22050, 12, 0}, 64, 64)},
      {"no channels", Wave(Fmt{1, 0, 22050, 16, 0}, 64, 64)},
      {"rate 0", Wave(Fmt{1, 1, 0, 16, 0}, 64, 64)},
      {"no data", Wave(Fmt{1, 1, 22050, 16, 0}, 0, 0)},
      {"less than a frame", Wave(Fmt{1, 2, 22050, 16, 0}, 3, 3)},
  };
  // Only the header, cut inside the format chunk.
  std::vector<uint8_t> header = Wave(Fmt{}, 0, 0);
  refusals.push_back({"format cut", std::vector<uint8_t>(header.begin(), header.begin() + 30)});
  // Data before any format.
  std::vector<uint8_t> noFormat;
  for (const char* t : {"RIFF", "\0\0\0\0", "WAVE", "data"}) noFormat.insert(noFormat.end(), t, t + 4);
  Put32(&noFormat, 4);
  Put32(&noFormat, 0);
  refusals.push_back({"data first", noFormat});
  // A chunk whose size runs past the end is never followed.
  std::vector<uint8_t> huge = header;
  huge.resize(20);
  std::memcpy(huge.data() + 12, "JUNK\xff\xff\xff\x7f", 8);
  refusals.push_back({"chunk past the end", huge});
  // A block size that does not match channels and bits.
  std::vector<uint8_t> align = Wave(Fmt{1, 2, 22050, 16, 0}, 64, 64);
  align[32] = 3;
  refusals.push_back({"block size", align});

  for (const Refusal& r : refusals) {
    why = nullptr;
    EXPECT_FALSE(ParseWave(r.image.data(), r.image.size(), &sound, &why)) << r.name;
    EXPECT_NE(why, nullptr) << r.name;
  }
}

}  // namespace
