// Damaged packaged savers under Wine: the sample scene, packaged by morvane-pack with the 64-bit
// player, damaged by make_damaged_savers (cuts, flipped bytes, sizes of 0, -1 and huge), and each
// copy run full screen and as its information dialog. Every one must start, play what it could
// load or show the failure message, end on a key (0) or on OK (1), and never fault or hang.
// By default every tenth copy runs; MORVANE_DAMAGED_SAVERS=all runs the whole set.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "fault_reports.h"
#include "process_runner.h"
#include "scene_art.h"

namespace {

const unsigned kSeed = 20261209;
const unsigned kRandomCount = 40;

struct Variant {
  std::string file;
  std::string what;
};

std::string Hex(DWORD code) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(code));
  return text;
}

struct OwnWindows {
  HWND saver;
  HWND dialog;  // a message box or the information dialog
};

OwnWindows WindowsOf(const ChildProcess& child) {
  HWND dialog = FindProcessWindow(child.id, "#32770");
  return {FindProcessWindow(child.id, "WindowsScreenSaverClass"), dialog && IsWindowVisible(dialog) ? dialog : nullptr};
}

bool Ended(const ChildProcess& child) { return WaitForSingleObject(child.process, 0) == WAIT_OBJECT_0; }

// Starts the copy in the mode and waits until its first window comes up (the saver counts only
// with saverCounts) or it ends. Empty when it started; otherwise why not.
std::string Launch(const Variant& variant, const char* mode, bool saverCounts, ChildProcess* child, OwnWindows* own) {
  *child = StartProgram(variant.file, mode);
  if (!child->process) {
    // Wine now and then refuses a start while the previous saver is still being torn down; that
    // says nothing about the saver, so a refused start is tried once more.
    DWORD error = GetLastError();
    PumpFor(500);
    *child = StartProgram(variant.file, mode);
    if (!child->process)
      return "did not start (error " + std::to_string(error) + ", then " + std::to_string(GetLastError()) + ")";
  }
  WaitUntil([&] {
    *own = WindowsOf(*child);
    return (saverCounts && own->saver) || own->dialog || Ended(*child);
  });
  return "";
}

std::string DialogText(HWND dialog) {
  std::string text;
  for (HWND item = GetWindow(dialog, GW_CHILD); item; item = GetWindow(item, GW_HWNDNEXT)) {
    char part[512];
    GetWindowTextA(item, part, sizeof part);
    text += std::string(part) + "|";
  }
  return text;
}

class DamagedSavers : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = ProgramFolder() + "damaged-savers\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
    std::string scene = folder_ + "scene";
    CreateDirectoryA(scene.c_str(), nullptr);
    std::string set = folder_ + "set";
    CreateDirectoryA(set.c_str(), nullptr);
    if (!WriteDemoScene(scene)) return;
    std::string saver = folder_ + "sample.scr";
    DeleteFileA(saver.c_str());
    if (RunProgram(ProgramFolder() + "morvane-pack.exe", "--settings \"" + scene + "\\MORVANE.INI\" --player \"" +
                                                            ProgramFolder() + "player.scr\" \"" + saver + "\"") != 0)
      return;
    if (RunProgram(ProgramFolder() + "make_damaged_savers.exe", "\"" + saver + "\" \"" + set + "\" " +
                                                                     std::to_string(kSeed) + " " +
                                                                     std::to_string(kRandomCount)) != 0)
      return;

    char all[8] = "";
    GetEnvironmentVariableA("MORVANE_DAMAGED_SAVERS", all, sizeof all);
    const size_t step = lstrcmpA(all, "all") == 0 ? 1 : 10;
    std::string index = ReadWholeFile(set + "\\index.txt");
    size_t line = 0;
    for (size_t at = 0; at < index.size(); ++line) {
      size_t end = index.find('\n', at);
      if (end == std::string::npos) end = index.size();
      std::string entry = index.substr(at, end - at);
      size_t tab = entry.find('\t');
      if (tab != std::string::npos && line % step == 0)
        variants_.push_back({set + "\\" + entry.substr(0, tab), entry.substr(tab + 1)});
      at = end + 1;
    }
  }

  // Full screen: the saver or the failure message comes up, the saver answers messages, and a
  // key ends it with 0. Empty when all went so; otherwise what happened.
  static std::string PlayAndEnd(const Variant& variant) {
    ChildProcess child;
    OwnWindows own = {};
    std::string problem = Launch(variant, "/s", true, &child, &own);
    if (!problem.empty()) return problem;
    if (!own.saver && !own.dialog) {
      DWORD code = WaitForExit(child, 2000);
      return "ended before any window came up, with " + Hex(code);
    }
    // A moment to load and paint; a failure message is only up once loading gave up.
    PumpFor(400);
    own = WindowsOf(child);
    std::string shown;
    if (own.dialog) {
      ++messages_;
      shown = "message " + DialogText(own.dialog) + "; ";
      PostMessageA(own.dialog, WM_COMMAND, IDOK, 0);
      PumpFor(200);
      own = WindowsOf(child);
    }
    if (own.saver) {
      DWORD_PTR answer = 0;
      if (!SendMessageTimeoutA(own.saver, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer))
        return shown + "the saver stopped answering messages (" + Hex(WaitForExit(child, 1)) + ")";
      PostMessageA(own.saver, WM_KEYDOWN, VK_SPACE, 0);
    }
    DWORD code = WaitForExit(child, 10000);
    return code == 0 ? "" : shown + "ended with " + Hex(code);
  }

  // The information dialog: it comes up with five lines of at most 259 bytes and OK ends it with 1.
  static std::string ShowInformation(const Variant& variant) {
    ChildProcess child;
    OwnWindows own = {};
    std::string problem = Launch(variant, "/c", false, &child, &own);
    if (!problem.empty()) return problem;
    if (!own.dialog) return "no dialog; ended with " + Hex(WaitForExit(child, 2000));
    for (int line = 1011; line <= 1015; ++line) {
      char text[1024] = "";
      int length = GetDlgItemTextA(own.dialog, line, text, sizeof text);
      if (length > 259) return "line " + std::to_string(line - 1010) + " holds " + std::to_string(length) + " bytes";
    }
    PostMessageA(own.dialog, WM_COMMAND, IDOK, 0);
    DWORD code = WaitForExit(child, 10000);
    return code == 1 ? "" : "ended with " + Hex(code);
  }

  template <typename Run>
  static void RunEach(Run run, const char* mode) {
    ASSERT_GE(variants_.size(), 20u) << "the damaged set was not made (see make_damaged_savers)";
    NoFaultDebugger noDebugger;
    std::string problems;
    size_t failures = 0;
    for (const Variant& variant : variants_) {
      std::string problem = run(variant);
      if (!problem.empty()) {
        ++failures;
        problems += "\n  " + variant.file.substr(variant.file.find_last_of('\\') + 1) + " (" + variant.what + "): " + problem;
      }
    }
    EXPECT_EQ(failures, 0u) << failures << " of " << variants_.size() << " damaged savers failed with " << mode << ":"
                            << problems;
    std::printf("%zu damaged savers run with %s, %zu failed, %zu showed a message box\n", variants_.size(), mode,
                failures, messages_);
    messages_ = 0;
  }

  static std::string folder_;
  static std::vector<Variant> variants_;
  static size_t messages_;
};

size_t DamagedSavers::messages_ = 0;

std::string DamagedSavers::folder_;
std::vector<Variant> DamagedSavers::variants_;

TEST_F(DamagedSavers, FullScreenEachPlaysOrSaysWhyAndEndsOnAKey) { RunEach(PlayAndEnd, "/s"); }

TEST_F(DamagedSavers, EachShowsItsInformationDialogAndEndsOnOk) { RunEach(ShowInformation, "/c"); }

}  // namespace
