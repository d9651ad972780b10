#include "store_contract.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Read(SettingsStore* store, const char* section, const char* key, const char* fallback) {
  char value[kSettingBufferSize];
  size_t length = store->readText(store, section, key, fallback, value);
  EXPECT_EQ(length, std::strlen(value));
  return value;
}

}  // namespace

void CheckStoreContract(SettingsStore* store) {
  // An empty store answers with the caller's defaults, integer ones converted.
  EXPECT_EQ(Read(store, "Speed", "AX", "10"), "10");
  EXPECT_EQ(ReadIntegerSetting(store, "Initial", "SpeedMin", "-70"), -70);
  EXPECT_EQ(Read(store, "BackGround", "Bmp", ""), "");

  // Names match without regard to case, in both directions.
  ASSERT_TRUE(store->writeText(store, "BackGround", "Bmp", "C:\\pics\\sky.bmp"));
  EXPECT_EQ(Read(store, "background", "BMP", "x"), "C:\\pics\\sky.bmp");
  ASSERT_TRUE(store->writeText(store, "BACKGROUND", "bmp", "sea.bmp"));
  EXPECT_EQ(Read(store, "BackGround", "Bmp", "x"), "sea.bmp");

  // Present but empty is not absent.
  ASSERT_TRUE(store->writeText(store, "Speed", "AX", ""));
  EXPECT_EQ(Read(store, "Speed", "AX", "10"), "");
  EXPECT_EQ(ReadIntegerSetting(store, "Speed", "AX", "10"), 0);

  // Integers are written as plain decimal text.
  struct IntegerCase {
    int32_t value;
    const char* text;
  } integers[] = {{0, "0"}, {45, "45"}, {-70, "-70"}, {2147483647, "2147483647"}, {-2147483647 - 1, "-2147483648"}};
  for (const IntegerCase& c : integers) {
    ASSERT_TRUE(WriteIntegerSetting(store, "Speed", "TZ", c.value));
    EXPECT_EQ(Read(store, "Speed", "TZ", "10"), c.text);
    EXPECT_EQ(ReadIntegerSetting(store, "Speed", "TZ", "10"), c.value);
  }

  // Values come back cut to 259 bytes; the default too.
  std::string line300(300, 'm');
  for (size_t i = 0; i < line300.size(); ++i) line300[i] = static_cast<char>('a' + i % 26);
  ASSERT_TRUE(store->writeText(store, "Module", "Memo1", line300.c_str()));
  EXPECT_EQ(Read(store, "Module", "Memo1", ""), line300.substr(0, 259));
  EXPECT_EQ(Read(store, "Module", "Memo2", line300.c_str()), line300.substr(0, 259));
  std::string line259 = line300.substr(0, 259);
  ASSERT_TRUE(store->writeText(store, "Module", "Memo3", line259.c_str()));
  EXPECT_EQ(Read(store, "Module", "Memo3", ""), line259);

  // Shift-JIS text passes as bytes.
  ASSERT_TRUE(store->writeText(store, "Module", "MName", "\x83\x65\x83\x58\x83\x67.scr"));
  EXPECT_EQ(Read(store, "Module", "MName", ""), "\x83\x65\x83\x58\x83\x67.scr");

  // Replacing one key leaves the others as they were.
  ASSERT_TRUE(store->writeText(store, "Pattern", "AX", "1"));
  ASSERT_TRUE(store->writeText(store, "Pattern", "AY", "0"));
  ASSERT_TRUE(store->writeText(store, "Pattern", "AX", "5"));
  EXPECT_EQ(Read(store, "Pattern", "AX", ""), "5");
  EXPECT_EQ(Read(store, "Pattern", "AY", ""), "0");
  EXPECT_EQ(Read(store, "BackGround", "Bmp", ""), "sea.bmp");
}
