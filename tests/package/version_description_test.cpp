// The description set in a program image's version resource: in every table, cut to the room,
// and an image cut short or damaged anywhere in the headers it follows is left as it was.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "byte_order.h"
#include "version_resource.h"

namespace {

// A 64-bit program image of one section that holds the resource directory (type 16, id 1, one
// language) and the version resource, as a linker lays them out.
std::vector<uint8_t> ProgramImage(const std::vector<uint8_t>& version) {
  const uint32_t pe = 0x40, optional = pe + 24, sectionTable = optional + 240, raw = 0x200, rva = 0x1000;
  std::vector<uint8_t> image(raw + 0x60 + version.size() + 16, 0);
  uint8_t* p = image.data();
  p[0] = 'M', p[1] = 'Z';
  WriteU32LE(p + 0x3C, pe);
  WriteU32LE(p + pe, 0x00004550);
  WriteU16LE(p + pe + 6, 1);
  WriteU16LE(p + pe + 20, 240);
  WriteU16LE(p + optional, 0x20B);
  WriteU32LE(p + optional + 108, 16);
  WriteU32LE(p + optional + 112 + 16, rva);
  WriteU32LE(p + optional + 112 + 20, static_cast<uint32_t>(0x60 + version.size()));
  std::memcpy(p + sectionTable, ".rsrc", 5);
  WriteU32LE(p + sectionTable + 8, static_cast<uint32_t>(0x60 + version.size()));
  WriteU32LE(p + sectionTable + 12, rva);
  WriteU32LE(p + sectionTable + 16, static_cast<uint32_t>(image.size() - raw));
  WriteU32LE(p + sectionTable + 20, raw);
  uint8_t* directory = p + raw;
  const uint32_t levels[3][2] = {{16, 0x80000018}, {1, 0x80000030}, {0x0409, 0x48}};
  for (int level = 0; level < 3; ++level) {
    WriteU16LE(directory + 0x18 * level + 14, 1);
    WriteU32LE(directory + 0x18 * level + 16, levels[level][0]);
    WriteU32LE(directory + 0x18 * level + 20, levels[level][1]);
  }
  WriteU32LE(directory + 0x48, rva + 0x60);
  WriteU32LE(directory + 0x4C, static_cast<uint32_t>(version.size()));
  std::memcpy(directory + 0x60, version.data(), version.size());
  return image;
}

VersionResource Resource(size_t room) {
  return VersionResource{{1, 2, 3, 0}, u"1.2.3", u"Morvane", {{0x0411, u"日本語の説明"}, {0x0409, u"English"}}, room};
}

// The descriptions of the image, found by their key as any reader of the resource would.
std::vector<std::u16string> Descriptions(const std::vector<uint8_t>& image) {
  const std::u16string key = u"FileDescription";
  std::vector<std::u16string> found;
  for (size_t at = 0; at + 2 * key.size() + 8 < image.size(); at += 2) {
    if (std::memcmp(image.data() + at, key.data(), 2 * key.size()) != 0) continue;
    size_t value = (at + 2 * key.size() + 2 + 3) & ~size_t(3);
    const uint16_t units = ReadU16LE(image.data() + at - 4);
    std::u16string text;
    for (uint16_t i = 0; i < units && ReadU16LE(image.data() + value + 2 * i) != 0; ++i)
      text.push_back(ReadU16LE(image.data() + value + 2 * i));
    found.push_back(text);
  }
  return found;
}

std::vector<uint16_t> Units(const std::u16string& text) { return std::vector<uint16_t>(text.begin(), text.end()); }

TEST(VersionDescription, IsSetInEveryTableAndCutToTheRoomKeptForIt) {
  const struct {
    size_t room;
    std::u16string text, japanese, english;
  } cases[] = {
      {64, u"Night sky", u"Night sky", u"Night sky"},
      {64, u"長い夜の港", u"長い夜の港", u"長い夜の港"},
      {8, u"0123456789", u"0123456", u"0123456"},
      // A character beyond the basic plane goes whole or not at all.
      {8, u"012345\U0001F319", u"012345", u"012345"},
      {9, u"012345\U0001F319", u"012345\U0001F319", u"012345\U0001F319"},
      // Without room beyond its own text, a longer one is cut to that text's length.
      {0, u"Moonlight over the bay", u"Moonli", u"Moonlig"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.room);
    std::vector<uint8_t> image = ProgramImage(WriteVersionResource(Resource(c.room)));
    std::vector<uint16_t> text = Units(c.text);
    ASSERT_TRUE(SetVersionDescription(image.data(), image.size(), text.data(), text.size()));
    EXPECT_EQ(Descriptions(image), (std::vector<std::u16string>{c.japanese, c.english}));
  }
}

TEST(VersionDescription, ADamagedOrCutImageIsLeftAsItWas) {
  const std::vector<uint8_t> whole = ProgramImage(WriteVersionResource(Resource(64)));
  const std::vector<uint16_t> text = Units(u"Night sky");
  // Cut anywhere before the resource ends: refused, unchanged, nothing read beyond the end.
  for (size_t size = 0; size < whole.size() - 16; ++size) {
    std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<long>(size));
    ASSERT_FALSE(SetVersionDescription(cut.data(), cut.size(), text.data(), text.size())) << size;
    ASSERT_TRUE(std::equal(cut.begin(), cut.end(), whole.begin())) << size;
  }
  // Every byte of the headers and the directory in turn set to 0xFF or to 0x00: never a write
  // outside the version resource's own descriptions.
  for (size_t at = 0; at < 0x200 + 0x60 + 0x80; ++at) {
    for (uint8_t value : {uint8_t(0xFF), uint8_t(0x00), uint8_t(0x7F)}) {
      std::vector<uint8_t> damaged = whole;
      damaged[at] = value;
      std::vector<uint8_t> before = damaged;
      if (!SetVersionDescription(damaged.data(), damaged.size(), text.data(), text.size())) {
        ASSERT_EQ(damaged, before) << at;
      }
    }
  }
  // An image that is not a program at all.
  std::vector<uint8_t> zeros(49152, 0x5A);
  EXPECT_FALSE(SetVersionDescription(zeros.data(), zeros.size(), text.data(), text.size()));
  EXPECT_EQ(zeros, std::vector<uint8_t>(49152, 0x5A));
}

}  // namespace
