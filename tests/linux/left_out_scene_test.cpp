// The shared left-out scene as the Linux programs play it: morvane-render of the settings and of
// the saver morvane-pack built from them give the same pixels, and both players name every file
// left out on standard error, in the words the walk gives the builder, and still play.
#include <gtest/gtest.h>

#include <csignal>

#include <string>
#include <vector>

#include "linux_test_support.h"
#include "package_builder.h"
#include "package_records.h"
#include "stdio_build_files.h"
#include "walk_cases.h"

namespace {

struct BlankImage : PlayerImageSource {
  BlankImage() : PlayerImageSource{Image} { image[0] = 'M', image[1] = 'Z'; }
  static const uint8_t* Image(PlayerImageSource* source, const char**) {
    return static_cast<BlankImage*>(source)->image;
  }
  uint8_t image[kPlayerImageSize] = {};
};

class LeftOutScene : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteLeftOutScene(dir, &settings);
    const std::string text = settings.ProfileText();
    WriteFileBytes(settingsFile, std::vector<uint8_t>(text.begin(), text.end()));
    // What the walk says in process is what each program is to say, with its own name.
    OutcomeRecorder heard = MakeOutcomeRecorder();
    StdioBuildFiles files;
    BlankImage image;
    BuildSources sources = {&settings, &image, &files, dir.path().c_str(), &heard.base, nullptr, false};
    char status = kBuildSucceeded;
    ASSERT_TRUE(BuildPackagedSaver(sources, saver.c_str(), &status));
    outcomes = heard.heard;
  }

  std::string Lines(const char* program) const {
    std::string lines;
    for (const std::string& line : OutcomeLines(program, outcomes)) lines += line;
    return lines;
  }

  ScratchFolder dir;
  TableSettings settings;
  std::string settingsFile = dir.Path("scene.ini"), saver = dir.Path("scene.scr");
  std::vector<HeardOutcome> outcomes;
};

TEST_F(LeftOutScene, RenderOfTheSettingsIsRenderOfTheSaverAndSaysWhatWasLeftOut) {
  ASSERT_EQ(outcomes.size(), 12u);
  std::string output;
  for (const std::string& scene : {settingsFile, saver}) {
    const std::string png = scene + ".png";
    ASSERT_EQ(RunTool({MORVANE_RENDER, scene, "--size", "320x240", "--seconds", "2", "--seed", "31", png}, &output), 0)
        << output;
    const std::string said = output.substr(0, output.find(png));
    if (scene == settingsFile) EXPECT_EQ(said, Lines("morvane-render"));
    if (scene == saver) EXPECT_EQ(said, "") << "a whole package has nothing to report";
  }
  Pixels fromSettings, fromSaver;
  ASSERT_TRUE(ReadPng(settingsFile + ".png", &fromSettings));
  ASSERT_TRUE(ReadPng(saver + ".png", &fromSaver));
  EXPECT_EQ(FirstDifference(fromSaver, fromSettings), "");
}

TEST_F(LeftOutScene, PlayNamesWhatWasLeftOutOnceAndPlaysTheRest) {
  PrivateDisplay x(320, 240);
  ASSERT_TRUE(x.ok());
  Child play({MORVANE_PLAY, "-display", x.name(), "-no-sound", "-seed", "5", "-paints", "20", settingsFile});
  ASSERT_TRUE(play.WaitForOutput("stopped after 20 paints")) << play.output();
  play.Signal(SIGTERM);
  EXPECT_EQ(play.Wait(), 0) << play.output();
  EXPECT_EQ(play.output(), Lines("morvane-play") + "morvane-play: stopped after 20 paints\n");
}

}  // namespace
