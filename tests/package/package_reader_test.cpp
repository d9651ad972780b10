#include "package_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "byte_order.h"
#include "package_writer.h"
#include "record_reader.h"
#include "vector_sink.h"

namespace {

// Two characters (3 frames, then a group without frames), colour, a wallpaper and a sound.
std::vector<uint8_t> SamplePackage() {
  VectorSink sink;
  std::string last(259, 'z');
  const char* lines[5] = {"one", "", "three", "", last.c_str()};
  for (const char* line : lines) WriteMemoLine(&sink, line, static_cast<uint32_t>(std::strlen(line)));
  WriteTimingRecord(&sink, TimingRecord{40, 3, 1});
  uint8_t info[40] = {};
  WriteU32LE(info, 40);
  WriteU32LE(info + 4, 1);
  WriteU32LE(info + 8, 1);
  WriteU16LE(info + 14, 8);
  WriteU32LE(info + 20, 4);
  WriteU32LE(info + 32, 2);
  const uint8_t colours[8] = {1, 2, 3, 0, 4, 5, 6, 0};
  const uint8_t bits[4] = {1, 0, 0, 0};
  FrameRecordParts frame = {info, colours, 2, bits, 4};
  for (int i = 0; i < 3; ++i) WriteFrameRecord(&sink, frame);
  WriteMotionRecord(&sink, MotionRecord{-1, 2, -3, 4, 1, 0, 1, 1, 7});
  WriteMotionRecord(&sink, MotionRecord{5, 6, 7, 8, 0, 0, 0, 0, 9});
  WriteBackgroundRecord(&sink, BackgroundRecord{0, 10, 20, 30, 1, 0});
  WriteFrameRecord(&sink, frame);
  WriteSoundHeader(&sink, 6);
  sink.write(&sink, "RIFFxx", 6);
  return sink.bytes;
}

TEST(PackageReader, ReadsEveryRecordTheWriterWrites) {
  std::vector<uint8_t> package = SamplePackage();
  ScenePackageView view;
  PackageError error = {0, nullptr};
  ASSERT_TRUE(ReadScenePackage(package.data(), package.size(), &view, &error)) << error.reason << " at " << error.offset;
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(view.memo[2].text), view.memo[2].length), "three");
  EXPECT_EQ(view.memo[4].length, 259u);
  EXPECT_EQ(view.timing.redrawPeriod, 40);
  EXPECT_EQ(view.timing.transparent, 1);
  ASSERT_EQ(view.characterCount, 2u);
  EXPECT_EQ(view.characters[0].frameCount, 3u);
  EXPECT_EQ(view.characters[0].frames[2].headerSize, 48u);
  EXPECT_EQ(view.characters[0].motion.speedDepth, -3);
  EXPECT_EQ(view.characters[0].motion.visibleRate, 7);
  EXPECT_EQ(view.characters[1].frameCount, 0u);
  EXPECT_EQ(view.characters[1].motion.frameStep, 8);
  EXPECT_EQ(view.background.blue, 30);
  EXPECT_EQ(view.wallpaper.bitsSize, 4u);
  EXPECT_EQ(view.soundSize, 6u);
  EXPECT_EQ(std::memcmp(view.sound, "RIFFxx", 6), 0);
}

TEST(PackageReader, EveryCutStopsWithAReasonInsideTheInput) {
  std::vector<uint8_t> package = SamplePackage();
  for (size_t size = 0; size < package.size(); ++size) {
    // A copy of exactly `size` bytes, so that the sanitizer sees any read beyond them.
    std::vector<uint8_t> cut(package.begin(), package.begin() + size);
    ScenePackageView view;
    PackageError error = {~size_t(0), nullptr};
    EXPECT_FALSE(ReadScenePackage(cut.data(), cut.size(), &view, &error)) << size;
    EXPECT_NE(error.reason, nullptr) << size;
    EXPECT_LE(error.offset, size) << size;
  }
}

TEST(PackageReader, DamagedFieldsAreNamed) {
  std::vector<uint8_t> good = SamplePackage();
  const size_t timing = 4 + 3 + 4 + 4 + 5 + 4 + 259 + 4;
  const size_t frame = timing + 10;
  struct Case {
    const char* name;
    size_t offset;
    uint8_t value;
    const char* reason;
  } cases[] = {
      {"memo length above 259", 2, 1, "longer than 259"},
      {"timing tag", timing, 'X', "timing record"},
      {"header size", frame + 1, 41, "header size"},
      {"bits size", frame + 5, 5, "biSizeImage"},
      {"motion tag", frame + 3 * (9 + 48 + 4), 'Q', "motion record"},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bad = good;
    bad[c.offset] = c.value;
    ScenePackageView view;
    PackageError error = {0, nullptr};
    ASSERT_FALSE(ReadScenePackage(bad.data(), bad.size(), &view, &error)) << c.name;
    EXPECT_NE(std::string(error.reason).find(c.reason), std::string::npos) << c.name << ": " << error.reason;
  }
  std::vector<uint8_t> longer = good;
  longer.push_back(0);
  ScenePackageView view;
  PackageError error = {0, nullptr};
  EXPECT_FALSE(ReadScenePackage(longer.data(), longer.size(), &view, &error));
  EXPECT_EQ(error.offset, good.size());
}

TEST(PackageReader, MemoBlockReadsAlone) {
  std::vector<uint8_t> package = SamplePackage();
  MemoLineView lines[kMemoLineCount];
  size_t end = 0;
  PackageError error = {0, nullptr};
  ASSERT_TRUE(ReadMemoBlock(package.data(), 20 + 3 + 5 + 259, lines, &end, &error));
  EXPECT_EQ(end, 20u + 3 + 5 + 259);
  EXPECT_EQ(lines[0].length, 3u);
  EXPECT_FALSE(ReadMemoBlock(package.data(), 19, lines, &end, &error));
}

// The player's information dialog reads through the same reader, leniently: a line longer than
// its buffer is cut and the next line still starts where it should; what is not there is empty.
TEST(RecordReader, MemoLinesKeepWhatFitsAndTheEndReadsAsZeros) {
  VectorSink sink;
  WriteMemoLine(&sink, std::string(300, 'q').c_str(), 300);
  WriteMemoLine(&sink, "after", 5);
  sink.write(&sink, "\x09\0\0\0ab", 6);  // a line of 9 bytes of which 2 are there
  MemoryStream stream;
  OpenMemoryStream(&stream, sink.bytes.data(), sink.bytes.size());
  RecordReader reader;
  OpenRecordReader(&reader, &stream.base);
  char text[kMaxMemoLineLength + 1] = {};
  EXPECT_EQ(ReadMemoLine(&reader, text, kMaxMemoLineLength), 300u);
  EXPECT_EQ(std::string(text, kMaxMemoLineLength), std::string(kMaxMemoLineLength, 'q'));
  EXPECT_EQ(ReadMemoLine(&reader, text, kMaxMemoLineLength), 5u);
  EXPECT_EQ(std::string(text, 5), "after");
  EXPECT_FALSE(reader.ended);
  EXPECT_EQ(ReadMemoLine(&reader, text, kMaxMemoLineLength), 9u);
  EXPECT_EQ(std::string(text, 9), std::string("ab\0\0\0\0\0\0\0", 9)) << "the missing bytes are zeros";
  EXPECT_TRUE(reader.ended);
  EXPECT_EQ(ReadMemoLine(&reader, text, kMaxMemoLineLength), 0u) << "past the end every line is empty";
  EXPECT_EQ(ReadRecordInt(&reader), 0);
}

}  // namespace
