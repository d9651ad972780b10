// The Module page's name fix-up, byte by byte, including Shift-JIS names.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "module_name.h"

namespace {

bool ShiftJisLead(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

struct Case {
  const char* name;
  const char* expected;
  bool appended;
};

TEST(ModuleName, LowerCasesAndAppendsOnlyWithoutScrAnywhere) {
  const Case cases[] = {
      {"Test", "test.scr", true},
      {"D:\\Savers\\Night.SCR", "d:\\savers\\night.scr", false},
      {"D:\\Work.scrap\\anim", "d:\\work.scrap\\anim", false},  // found inside the folder name
      {"Demo.Scr", "demo.scr", false},
      {"", ".scr", true},
      {"a.sc", "a.sc.scr", true},
      {"[Z]@", "[z]@.scr", true},  // only A to Z change
  };
  for (const Case& c : cases) {
    char name[260];
    std::strcpy(name, c.name);
    EXPECT_EQ(FixUpModuleName(name, sizeof name, ShiftJisLead), c.appended) << c.name;
    EXPECT_STREQ(name, c.expected) << c.name;
  }
}

TEST(ModuleName, LeavesTheSecondByteOfADoubleByteCharacterAlone) {
  // 0x83 0x41 is one katakana letter; its second byte lies in "A" to "Z" but is not a letter.
  char name[260] = "\x83\x41\x83\x5A" "AB";
  EXPECT_TRUE(FixUpModuleName(name, sizeof name, ShiftJisLead));
  EXPECT_STREQ(name, "\x83\x41\x83\x5A" "ab.scr");

  // Without a code page that has double-byte characters every byte is taken alone.
  char single[260] = "\x83\x41";
  FixUpModuleName(single, sizeof single, nullptr);
  EXPECT_STREQ(single, "\x83\x61.scr");

  // A lead byte at the very end has no second byte to skip.
  char cut[260] = "X\x83";
  FixUpModuleName(cut, sizeof cut, ShiftJisLead);
  EXPECT_STREQ(cut, "x\x83.scr");
}

TEST(ModuleName, NeverWritesPastTheBuffer) {
  char name[12];
  std::memset(name, '#', sizeof name);
  std::strcpy(name, "ABCDEFGH");  // 8 bytes: room for 3 more and the terminator
  EXPECT_TRUE(FixUpModuleName(name, 12, nullptr));
  EXPECT_STREQ(name, "abcdefgh.sc");

  char full[6] = "ABCDE";
  EXPECT_FALSE(FixUpModuleName(full, sizeof full, nullptr));
  EXPECT_STREQ(full, "abcde");
}

}  // namespace
