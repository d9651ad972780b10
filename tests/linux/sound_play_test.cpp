// How morvane-play's sound is taken for the server from a file that may be cut short while it
// plays.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "build_test_support.h"
#include "wave_samples.h"

namespace {

// 8-bit mono PCM, whose silence is 0x80, not 0: a 44-byte header, then the samples.
std::vector<uint8_t> U8Wave(std::vector<uint8_t> samples) {
  std::vector<uint8_t> b = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0,
                            1, 0, 0x11, 0x2B, 0, 0, 0x11, 0x2B, 0, 0, 1, 0, 8, 0, 'd', 'a', 't', 'a',
                            static_cast<uint8_t>(samples.size()), 0, 0, 0};
  b.insert(b.end(), samples.begin(), samples.end());
  return b;
}

TEST(WaveSamples, AFileCutWhilePlayingGivesSilenceToTheRoundsEndThenWraps) {
  ScratchFolder folder;
  const std::string path = folder.Path("cut.scr");
  const std::vector<uint8_t> image = U8Wave({1, 2, 3, 4, 5, 6, 7, 8});
  std::vector<uint8_t> saver(100, 0xEE);  // the image lies 100 bytes in, as a sound record does
  saver.insert(saver.end(), image.begin(), image.end());
  WriteFileBytes(path, saver);
  WaveSound sound;
  const char* why = nullptr;
  ASSERT_TRUE(ParseWave(image.data(), image.size(), &sound, &why)) << why;
  const FileSpan span = {open(path.c_str(), O_RDONLY | O_CLOEXEC), 100};
  ASSERT_GE(span.descriptor, 0);
  WaveSamples samples;
  OpenWaveSamples(&samples, sound, image.data(), &span);
  auto take = [&](size_t count) {
    std::vector<uint8_t> out(count, 0x55);
    TakeSamples(&samples, out.data(), count);
    return out;
  };
  EXPECT_EQ(take(3), std::vector<uint8_t>({1, 2, 3}));
  ASSERT_EQ(truncate(path.c_str(), 100 + 44 + 5), 0);
  EXPECT_EQ(take(8), std::vector<uint8_t>({4, 5, 0x80, 0x80, 0x80, 1, 2, 3}))
      << "what is left, silence to the round's end, then the next round from the start";
  EXPECT_EQ(take(9), std::vector<uint8_t>({4, 5, 0x80, 0x80, 0x80, 1, 2, 3, 4}));
  EXPECT_TRUE(samples.cutShort);
  close(span.descriptor);
}

}  // namespace
