// The screen-saver command-line grammar, case by case as the display settings and users write it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "command_line.h"

namespace {

const char* ByteStep(const char* p) { return p + 1; }

struct ModeCase {
  const char* tail;
  SaverMode mode;
  uint32_t window;
  bool foregroundFallback;
};

class ModeTable : public ::testing::TestWithParam<ModeCase> {};

TEST_P(ModeTable, ChoosesModeAndWindow) {
  const ModeCase& c = GetParam();
  SaverCommand command = ParseSaverCommand(c.tail);
  EXPECT_EQ(command.mode, c.mode) << "tail '" << c.tail << "'";
  EXPECT_EQ(command.window, c.window) << "tail '" << c.tail << "'";
  if (command.mode != SaverModeRefused) {
    EXPECT_EQ(command.foregroundFallback, c.foregroundFallback) << "tail '" << c.tail << "'";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Tails, ModeTable,
    ::testing::Values(
        // Configuration without a parent: empty, or separators only.
        ModeCase{"", SaverModeConfigure, 0, false}, ModeCase{"  ", SaverModeConfigure, 0, false},
        ModeCase{"/", SaverModeConfigure, 0, false}, ModeCase{"- /", SaverModeConfigure, 0, false},
        // The full-screen saver, however the letter is written; the rest is ignored.
        ModeCase{"/s", SaverModeRun, 0, false}, ModeCase{"-S", SaverModeRun, 0, false},
        ModeCase{"s", SaverModeRun, 0, false}, ModeCase{"//s", SaverModeRun, 0, false},
        ModeCase{"/s anything", SaverModeRun, 0, false}, ModeCase{"/s extra", SaverModeRun, 0, false},
        // Preview: only spaces between letter and digits; the first other byte ends the digits.
        ModeCase{"/p 1234", SaverModePreview, 1234, false}, ModeCase{"/l 1234", SaverModePreview, 1234, false},
        ModeCase{"/P 1234", SaverModePreview, 1234, false}, ModeCase{"/p", SaverModePreview, 0, false},
        ModeCase{"/p0", SaverModePreview, 0, false}, ModeCase{"/p abc", SaverModePreview, 0, false},
        ModeCase{"/p   00123x", SaverModePreview, 123, false}, ModeCase{"/p:1234", SaverModePreview, 0, false},
        ModeCase{"/p\t1234", SaverModePreview, 0, false},
        // Configuration with a parent only after a colon; otherwise the foreground window.
        ModeCase{"/c:1234", SaverModeConfigure, 1234, true}, ModeCase{"/c:", SaverModeConfigure, 0, true},
        ModeCase{"/c", SaverModeConfigure, 0, true}, ModeCase{"/c: 1234", SaverModeConfigure, 0, true},
        ModeCase{"/c 1234", SaverModeConfigure, 0, true}, ModeCase{"-C:77", SaverModeConfigure, 77, true},
        // Change password: spaces skipped before the handle.
        ModeCase{"/a 1234", SaverModeChangePassword, 1234, true}, ModeCase{"/A", SaverModeChangePassword, 0, true},
        // Refused lines.
        ModeCase{"/x", SaverModeRefused, 0, false}, ModeCase{"/1", SaverModeRefused, 0, false},
        ModeCase{"/?", SaverModeRefused, 0, false}, ModeCase{"\x80s", SaverModeRefused, 0, false},
        ModeCase{"/\xff", SaverModeRefused, 0, false}, ModeCase{"/\ts", SaverModeRefused, 0, false},
        ModeCase{"\ts", SaverModeRefused, 0, false}));

TEST(ParseWindowHandle, ReadsLeadingDigitsOnlyAndWraps) {
  EXPECT_EQ(ParseWindowHandle(""), 0u);
  EXPECT_EQ(ParseWindowHandle("abc"), 0u);
  EXPECT_EQ(ParseWindowHandle(" 12"), 0u);  // nothing is skipped first
  EXPECT_EQ(ParseWindowHandle("-12"), 0u);  // no sign
  EXPECT_EQ(ParseWindowHandle("0x1F"), 0u);  // no hexadecimal form
  EXPECT_EQ(ParseWindowHandle("65548 rest"), 65548u);
  EXPECT_EQ(ParseWindowHandle("4294967295"), 4294967295u);
  EXPECT_EQ(ParseWindowHandle("4294967296"), 0u);
  EXPECT_EQ(ParseWindowHandle("4294967297"), 1u);
  // Eleven digits: 12345678901 mod 2^32.
  EXPECT_EQ(ParseWindowHandle("12345678901"), uint32_t(12345678901ull % 4294967296ull));
}

struct StartupCase {
  const char* commandLine;
  const char* tail;
};

TEST(SkipProgramName, LeavesTheTailAfterTheNameAndItsSeparators) {
  const StartupCase cases[] = {
      {"saver.scr /s", "/s"},
      {"\"C:\\Program Files\\x.scr\" /s", "/s"},
      {"\"C:\\Program Files\\x.scr\"/s", "/s"},
      {"\"C:\\unclosed quote /s", ""},
      {"saver.scr\t/s", "/s"},
      {"saver.scr \t \x01/p 12", "/p 12"},
      {"saver.scr", ""},
      {"", ""},
      {"C:\\\x93\xfa\x96\x7b\\x.scr /c", "/c"},  // bytes 0x80 and above belong to the name
      {"saver.scr /s\t", "/s\t"},
  };
  for (const StartupCase& c : cases) {
    EXPECT_STREQ(SkipProgramName(c.commandLine, ByteStep), c.tail) << "line '" << c.commandLine << "'";
  }
}

TEST(SkipProgramName, StepsQuotedNamesByCharacters) {
  // A step function that treats 0x81 as a lead byte, as a double-byte code page does: the
  // character 0x81 '"' must not end the quoted name.
  auto dbcsStep = [](const char* p) -> const char* {
    return (static_cast<unsigned char>(*p) == 0x81 && p[1] != '\0') ? p + 2 : p + 1;
  };
  EXPECT_STREQ(SkipProgramName("\"a\x81\"b\" /s", dbcsStep), "/s");
  EXPECT_STREQ(SkipProgramName("\"a\x81\"b\" /s", ByteStep), "b\" /s");
}

}  // namespace
