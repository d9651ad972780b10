// morvane-play's command line as XScreenSaver, its settings tool and users write it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "play_options.h"

namespace {

struct Case {
  std::vector<const char*> args;
  const char* screensaverWindow;
  bool ok;
  PlayTarget target;
  unsigned long windowId;
  const char* scene;
};

TEST(PlayOptions, TargetsAndScenes) {
  const Case cases[] = {
      {{"a.scr"}, nullptr, true, OwnWindow, 0, "a.scr"},
      {{"-scene", "a.scr"}, nullptr, true, OwnWindow, 0, "a.scr"},
      {{"--root", "--scene", "b.ini"}, nullptr, true, RootWindow, 0, "b.ini"},
      {{"-window-id", "0x1a00007", "a.scr"}, nullptr, true, GivenWindow, 0x1a00007, "a.scr"},
      {{"-window-id", "4194311", "a.scr"}, nullptr, true, GivenWindow, 4194311, "a.scr"},
      // The daemon starts hacks with --root and names its window in the environment.
      {{"--root", "a.scr"}, "0x600008", true, GivenWindow, 0x600008, "a.scr"},
      {{"a.scr"}, "6291464", true, GivenWindow, 6291464, "a.scr"},
      // An explicit choice wins over the environment.
      {{"-window", "a.scr"}, "0x600008", true, OwnWindow, 0, "a.scr"},
      {{"-window-id", "0x42", "a.scr"}, "0x600008", true, GivenWindow, 0x42, "a.scr"},
      {{}, nullptr, true, OwnWindow, 0, ""},  // the sample scene
      {{"a.scr", "b.scr"}, nullptr, false, OwnWindow, 0, ""},
      {{"-scene", "a.scr", "b.scr"}, nullptr, false, OwnWindow, 0, ""},
      {{"-scene"}, nullptr, false, OwnWindow, 0, ""},
      {{"-window-id", "0x", "a.scr"}, nullptr, false, OwnWindow, 0, ""},
      {{"-window-id", "0", "a.scr"}, nullptr, false, OwnWindow, 0, ""},
      {{"-window-id", "12ab", "a.scr"}, nullptr, false, OwnWindow, 0, ""},
      {{"-window-id", "0x100000000", "a.scr"}, nullptr, false, OwnWindow, 0, ""},
      {{"a.scr"}, "junk", false, OwnWindow, 0, ""},
      {{"-bogus", "a.scr"}, nullptr, false, OwnWindow, 0, ""},
      {{"-root", "-fullscreen", "a.scr"}, nullptr, false, OwnWindow, 0, ""},
  };
  for (const Case& c : cases) {
    std::vector<const char*> argv = {"morvane-play"};
    std::string line;
    for (const char* a : c.args) {
      argv.push_back(a);
      line += std::string(" ") + a;
    }
    PlayOptions options;
    std::string problem;
    bool ok = ParsePlayOptions(static_cast<int>(argv.size()), argv.data(), c.screensaverWindow, &options, &problem);
    ASSERT_EQ(ok, c.ok) << line << ": " << problem;
    if (!ok) {
      EXPECT_FALSE(problem.empty()) << line;
      EXPECT_EQ(problem.find('\n'), std::string::npos) << line;
      continue;
    }
    EXPECT_EQ(options.target, c.target) << line;
    EXPECT_EQ(options.windowId, c.windowId) << line;
    EXPECT_EQ(options.scene, c.scene) << line;
  }
}

TEST(PlayOptions, SwitchesAndNumbers) {
  const char* argv[] = {"morvane-play", "--fps", "-no-sound", "-display", ":7", "-seed", "4294967295",
                        "--paints", "12", "-fullscreen", "--delay", "20000", "x.scr"};
  PlayOptions options;
  std::string problem;
  ASSERT_TRUE(ParsePlayOptions(13, argv, nullptr, &options, &problem)) << problem;
  EXPECT_EQ(options.delay, 20000);
  EXPECT_TRUE(options.showFps);
  EXPECT_FALSE(options.sound);
  EXPECT_EQ(options.display, ":7");
  EXPECT_TRUE(options.seeded);
  EXPECT_EQ(options.seed, 4294967295u);
  EXPECT_EQ(options.paints, 12);
  EXPECT_TRUE(options.fullscreen);

  for (const char* bad : {"4294967296", "-1", "", "1e3"}) {
    const char* args[] = {"morvane-play", "-seed", bad, "x.scr"};
    EXPECT_FALSE(ParsePlayOptions(4, args, nullptr, &options, &problem)) << bad;
  }
  for (const char* bad : {"0", "x", "1000000001"}) {
    const char* args[] = {"morvane-play", "-paints", bad, "x.scr"};
    EXPECT_FALSE(ParsePlayOptions(4, args, nullptr, &options, &problem)) << bad;
  }
  for (const char* bad : {"-1", "10000001", "2.5"}) {
    const char* args[] = {"morvane-play", "-delay", bad, "x.scr"};
    EXPECT_FALSE(ParsePlayOptions(4, args, nullptr, &options, &problem)) << bad;
  }
}

TEST(PlayOptions, TheXScreenSaverListChanges) {
  struct Case {
    std::vector<const char*> arguments;
    bool ok;
    ListChangeAsked change;
    const char* scene;
  } cases[] = {
      {{"--add-to-xscreensaver"}, true, AddToXScreenSaverList, ""},
      {{"-add-to-xscreensaver", "my scène.scr"}, true, AddToXScreenSaverList, "my scène.scr"},
      {{"--remove-from-xscreensaver"}, true, RemoveFromXScreenSaverList, ""},
      // Taking a line out for one scene only would leave others behind unseen: it takes every one.
      {{"--remove-from-xscreensaver", "a.scr"}, false, NoListChange, ""},
  };
  for (const Case& c : cases) {
    std::vector<const char*> argv = {"morvane-play"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    PlayOptions options;
    std::string problem;
    EXPECT_EQ(ParsePlayOptions(static_cast<int>(argv.size()), argv.data(), nullptr, &options, &problem), c.ok)
        << c.arguments[0];
    if (!c.ok) continue;
    EXPECT_EQ(options.listChange, c.change) << c.arguments[0];
    EXPECT_EQ(options.scene, c.scene) << c.arguments[0];
  }
}

}  // namespace
