#include "input_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ResolveInputPath, RelativeNamesJoinTheBaseFolderOnce) {
  struct Case {
    PathStyle style;
    const char* base;
    const char* path;
    const char* resolved;
  } cases[] = {
      {PosixPaths, "/home/u/scene", "a.bmp", "/home/u/scene/a.bmp"},
      {PosixPaths, "/home/u/scene/", "pics/a.bmp", "/home/u/scene/pics/a.bmp"},
      {PosixPaths, "/home/u/scene", "/abs/a.bmp", "/abs/a.bmp"},
      {PosixPaths, "", "a.bmp", "a.bmp"},
      {PosixPaths, "/", "a.bmp", "/a.bmp"},
      // Names the designer wrote on Windows, read on a POSIX system.
      {PosixPaths, "/home/u/scene", "frames\\cat.bmp", "/home/u/scene/frames/cat.bmp"},
      {PosixPaths, "/home/u/scene", "a\\b\\c.bmp", "/home/u/scene/a/b/c.bmp"},
      {WindowsPaths, "C:\\Saver", "a.bmp", "C:\\Saver\\a.bmp"},
      {WindowsPaths, "C:\\Saver", "frames\\cat.bmp", "C:\\Saver\\frames\\cat.bmp"},
      {WindowsPaths, "C:\\Saver\\", "pics\\a.bmp", "C:\\Saver\\pics\\a.bmp"},
      {WindowsPaths, "C:\\", "a.bmp", "C:\\a.bmp"},
      {WindowsPaths, "C:", "a.bmp", "C:a.bmp"},
      {WindowsPaths, "C:\\Saver", "D:\\pics\\a.bmp", "D:\\pics\\a.bmp"},
      {WindowsPaths, "C:\\Saver", "d:a.bmp", "d:a.bmp"},
      {WindowsPaths, "C:\\Saver", "\\pics\\a.bmp", "\\pics\\a.bmp"},
      {WindowsPaths, "C:\\Saver", "//server/share/a.bmp", "//server/share/a.bmp"},
      {WindowsPaths, "C:/Saver/", "a.bmp", "C:/Saver/a.bmp"},
  };
  for (const Case& c : cases) {
    char out[kMaxInputPath];
    ASSERT_TRUE(ResolveInputPath(c.base, c.path, c.style, out, sizeof(out))) << c.base << " + " << c.path;
    EXPECT_STREQ(out, c.resolved) << c.base << " + " << c.path;
  }
}

TEST(ResolveInputPath, RefusesWhatDoesNotFit) {
  char out[16];
  EXPECT_TRUE(ResolveInputPath("/base", "file.bmp", PosixPaths, out, sizeof(out)));  // 14 bytes and the end
  EXPECT_FALSE(ResolveInputPath("/base", "file1.bmp", PosixPaths, out, 15));
  const char* why = nullptr;
  EXPECT_FALSE(ResolveInputPath("/b", std::string(20, 'x').c_str(), PosixPaths, out, sizeof(out), &why));
  EXPECT_NE(std::string(why).find("too long"), std::string::npos);
}

// Settings written by the designer on Windows, read on a POSIX system: names that only mean
// something on Windows are refused, saying why.
TEST(ResolveInputPath, DesignerNamesOnPosixRefuseDrives) {
  char out[kMaxInputPath];
  const char* why = nullptr;
  struct Refused {
    const char* path;
    const char* reason;
  } refused[] = {{"C:\\pics\\cat.bmp", "drive-letter"}, {"d:cat.bmp", "drive-letter"},
                 {"\\pics\\cat.bmp", "root of a Windows drive"}, {"\\\\server\\share\\cat.bmp", "network share"}};
  for (const Refused& r : refused) {
    why = nullptr;
    EXPECT_FALSE(ResolveInputPath("/home/u/scene", r.path, PosixPaths, out, sizeof(out), &why)) << r.path;
    ASSERT_NE(why, nullptr) << r.path;
    EXPECT_NE(std::string(why).find(r.reason), std::string::npos) << r.path << ": " << why;
  }
}

}  // namespace
