#include "settings_value.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace {

TEST(ParseSettingInteger, LeadingIntegerOrZero) {
  struct Case {
    const char* text;
    int32_t value;
  } cases[] = {
      {"12abc", 12},     {" -5", -5},     {"abc", 0},          {"", 0},
      {"+7", 7},         {"--3", 0},      {"- 5", 0},          {"\t\n 42", 42},
      {"007", 7},        {"-0", 0},       {"2147483647", INT_MAX},
      {"2147483648", INT_MIN},            {"4294967297", 1},   {"-2147483648", INT_MIN},
      {"3.9", 3},        {"1e3", 1},      {"\x82\x50", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseSettingInteger(c.text), c.value) << '"' << c.text << '"';
  EXPECT_EQ(ParseSettingInteger(nullptr), 0);
}

TEST(FormatSettingInteger, PlainDecimalThatParsesBack) {
  struct Case {
    int32_t value;
    const char* text;
  } cases[] = {{0, "0"}, {7, "7"}, {-70, "-70"}, {1000, "1000"}, {INT_MAX, "2147483647"}, {INT_MIN, "-2147483648"}};
  for (const Case& c : cases) {
    char text[12];
    size_t length = FormatSettingInteger(c.value, text);
    EXPECT_STREQ(text, c.text);
    EXPECT_EQ(length, std::strlen(c.text));
    EXPECT_EQ(ParseSettingInteger(text), c.value);
  }
}

}  // namespace
