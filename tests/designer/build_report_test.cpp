// What Create learns from a real build: every file of the shared left-out scene with the walk's
// reason, the first ten of many, and why an output could not be written.
#include "build_report.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "build_test_support.h"
#include "package_records.h"
#include "stdio_build_files.h"
#include "walk_cases.h"

namespace {

class CreateReportTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteFileBytes(folder.Path("player.scr"), std::vector<uint8_t>(kPlayerImageSize, 0x5A)); }

  void Build(const std::string& output) {
    StdioBuildFiles files;
    std::string player = folder.Path("player.scr");
    TrailingPlayerImage image(&files, player.c_str());
    OpenCreateReport(&report);
    BuildSources sources = {&settings, &image, &files, folder.path().c_str(), &report.base, nullptr, false};
    status = kBuildSucceeded;
    BuildPackagedSaver(sources, output.c_str(), &status);
  }

  ScratchFolder folder;
  TableSettings settings;
  CreateReport report;
  char status = kBuildSucceeded;
};

TEST_F(CreateReportTest, EveryFileLeftOutIsListedWithTheWalksReasonAndTheFirstTenKept) {
  const std::vector<ExpectedOutcome> expected = WriteLeftOutScene(folder, &settings);
  Build(folder.Path("out.scr"));
  EXPECT_EQ(report.output, OutputWritten) << "the saver was written";
  ASSERT_EQ(report.inputCount, static_cast<int>(expected.size()));
  ASSERT_GT(report.inputCount, kListedInputs) << "the scene lists more than the message keeps";
  for (int i = 0; i < kListedInputs; ++i) {
    const ReportedInput& input = report.inputs[i];
    EXPECT_EQ(input.subject, expected[i].subject) << i;
    EXPECT_EQ(input.name, expected[i].named) << i;
    EXPECT_EQ(input.reason, expected[i].reason) << i;
    EXPECT_EQ(input.number, expected[i].number) << i;
    if (input.subject == WalkFrame) EXPECT_EQ(input.character * 10 + input.slot, expected[i].character * 10 + expected[i].slot);
  }
  // The reader's own words travel with a picture it refused.
  EXPECT_NE(std::string(report.inputs[3].detail).find("not a picture"), std::string::npos) << report.inputs[3].detail;
}

TEST_F(CreateReportTest, AnOutputThatCannotBeWrittenSaysWhy) {
  Build(folder.Path("no-such-folder/out.scr"));
  EXPECT_EQ(status, kBuildFailedStatus);
  EXPECT_EQ(report.output, OutputFolderMissing);
  EXPECT_STRNE(report.outputDetail, "");
  Build(folder.path());
  EXPECT_EQ(report.output, OutputIsFolder);

  struct Case {
    int error;
    OutputProblem problem;
  } cases[] = {{ENOSPC, OutputDiskFull}, {EACCES, OutputNotWritable}, {EROFS, OutputNotWritable},
               {EINVAL, OutputNameNotAllowed}, {EIO, OutputOtherProblem}};
  for (const Case& c : cases) EXPECT_EQ(OutputProblemOfErrno(c.error), c.problem) << c.error;
}

}  // namespace
