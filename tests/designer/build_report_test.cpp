// What Create learns from a real build: the files left out and why, the frames a missing one
// takes with it, the first ten of many, and why an output could not be written.
#include "build_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "build_test_support.h"
#include "package_records.h"
#include "stdio_build_files.h"

namespace {

// The real files, except one the test declares unopenable: the builder cannot open it because it
// is not there, and the probe answers as the system would for a file it may not read (root may
// read anything here).
struct FolderProbe {
  InputProbe base;
  std::string unopenable;
};

InputState ProbeFolder(InputProbe* probe, const char* path) {
  const FolderProbe* folder = reinterpret_cast<const FolderProbe*>(probe);
  if (!folder->unopenable.empty() && folder->unopenable == path) return InputUnopenable;
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return InputMissing;
  std::fclose(file);
  return InputReadable;
}

class CreateReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFileBytes(folder.Path("player.scr"), std::vector<uint8_t>(kPlayerImageSize, 0x5A));
    picture = MakeBmp(4, 4, 24, 0, 0, 3);
  }

  CreateReport Build(const std::string& output) {
    StdioBuildFiles files;
    std::string player = folder.Path("player.scr");
    TrailingPlayerImage image(&files, player.c_str());
    CreateReport report(&settings, &probe.base, folder.path().c_str());
    BuildSources sources = {&settings, &image, &files, folder.path().c_str(), &report, nullptr};
    status = kBuildSucceeded;
    BuildPackagedSaver(sources, output.c_str(), &status);
    return report;
  }

  ScratchFolder folder;
  TableSettings settings;
  FolderProbe probe = {{ProbeFolder}, ""};
  std::vector<uint8_t> picture;
  char status = kBuildSucceeded;
};

void ExpectInput(const ReportedInput& input, InputKind kind, int character, int slot, const std::string& name,
                 InputProblem problem) {
  EXPECT_EQ(input.kind, kind) << name;
  if (kind == FrameInput) {
    EXPECT_EQ(input.character, character) << name;
    EXPECT_EQ(input.slot, slot) << name;
  }
  EXPECT_EQ(input.name, name);
  EXPECT_EQ(input.problem, problem) << name;
}

TEST_F(CreateReportTest, AMissingFrameTakesTheLaterFramesWithItAndEachFileSaysWhy) {
  for (const char* name : {"a.bmp", "c.bmp", "d.bmp", "f.bmp"})
    WriteFileBytes(folder.Path(name), picture);
  WriteFileBytes(folder.Path("text.bmp"), {'h', 'e', 'l', 'l', 'o'});
  settings.Set("Character", "A0", "a.bmp");
  settings.Set("Character", "A1", "bal2.bmp");  // mistyped
  settings.Set("Character", "A2", "c.bmp");
  settings.Set("Character", "A3", "d.bmp");
  settings.Set("Character", "A5", "f.bmp");  // after a gap: never part of the frames
  settings.Set("Character", "B0", "text.bmp");
  settings.Set("Character", "C0", "locked.bmp");
  settings.Set("BackGround", "BmpOpt1", "1");
  settings.Set("BackGround", "Bmp", "no-wall.bmp");
  settings.Set("BackGround", "SoundOpt", "1");
  settings.Set("BackGround", "Sound", "gone.wav");
  probe.unopenable = folder.Path("locked.bmp");

  CreateReport report = Build(folder.Path("out.scr"));
  EXPECT_EQ(report.output, OutputWritten) << "the saver was written";
  ASSERT_EQ(report.inputCount, 7);
  ExpectInput(report.inputs[0], FrameInput, 0, 1, "bal2.bmp", InputNotFound);
  ExpectInput(report.inputs[1], FrameInput, 0, 2, "c.bmp", InputAfterEndedRun);
  EXPECT_EQ(report.inputs[1].endedAtSlot, 1);
  ExpectInput(report.inputs[2], FrameInput, 0, 3, "d.bmp", InputAfterEndedRun);
  ExpectInput(report.inputs[3], FrameInput, 1, 0, "text.bmp", InputNotTaken);
  EXPECT_NE(std::string(report.inputs[3].detail).find("not a picture"), std::string::npos) << report.inputs[3].detail;
  ExpectInput(report.inputs[4], FrameInput, 2, 0, "locked.bmp", InputNotOpened);
  ExpectInput(report.inputs[5], WallpaperInput, 0, 0, "no-wall.bmp", InputNotFound);
  ExpectInput(report.inputs[6], SoundInput, 0, 0, "gone.wav", InputNotFound);
}

TEST_F(CreateReportTest, TheFirstTenAreKeptAndTheRestCounted) {
  const std::string letters = "ABCDEFGHIJKL";
  for (char letter : letters) settings.Set("Character", std::string(1, letter) + "0", std::string(1, letter) + ".bmp");
  CreateReport report = Build(folder.Path("out.scr"));
  EXPECT_EQ(status, kBuildSucceeded) << "missing frames are notes, not failures";
  EXPECT_EQ(report.inputCount, 12);
  EXPECT_EQ(std::string(report.inputs[9].name), "J.bmp");
}

TEST_F(CreateReportTest, AnOutputThatCannotBeWrittenSaysWhy) {
  CreateReport report = Build(folder.Path("no-such-folder/out.scr"));
  EXPECT_EQ(status, kBuildFailedStatus);
  EXPECT_EQ(report.output, OutputFolderMissing);
  EXPECT_STRNE(report.outputDetail, "");

  struct Case {
    int error;
    OutputProblem problem;
  } cases[] = {{ENOSPC, OutputDiskFull}, {EACCES, OutputNotWritable}, {EROFS, OutputNotWritable},
               {EINVAL, OutputNameNotAllowed}, {EIO, OutputOtherProblem}};
  for (const Case& c : cases) EXPECT_EQ(OutputProblemOfErrno(c.error), c.problem) << c.error;
}

}  // namespace
