// What a Create build did, for the message that follows it: whether the packaged saver itself
// could be written, and every file named in the settings that did not go in as named, in
// package order, with the reason. A frame that ends its character's frames (the builder takes
// the unbroken run from the first slot) takes the character's later frames with it; those are
// listed too, so that the message shows everything the package lacks.
#pragma once
#include "package_builder.h"
#include "settings_store.h"

enum InputState { InputMissing, InputUnopenable, InputReadable };

// How the report looks at a named file once the builder has reported it: the designer asks the
// system, tests a table.
struct InputProbe {
  InputState (*state)(InputProbe* probe, const char* path);
};

enum InputProblem {
  InputNotFound,        // no file of that name
  InputNotOpened,       // the file is there but cannot be opened for reading
  InputNotTaken,        // opened, but the builder could not take it (detail says why)
  InputNameTooLong,     // joined to the base folder, the name is too long for a path
  InputAfterEndedRun,   // a later frame of a character whose frames ended at an earlier slot
  InputNoted            // taken, or dropped, as detail says
};

enum InputKind { FrameInput, WallpaperInput, SoundInput, OtherInput };

struct ReportedInput {
  InputKind kind;
  int character;  // frames: 0 to 19
  int slot;       // frames: 0 to 9
  char name[kSettingBufferSize];  // as the settings name the file
  InputProblem problem;
  int endedAtSlot;  // InputAfterEndedRun: the slot whose frame ended the run
  char detail[160];
};

// Why the packaged saver itself could not be written.
enum OutputProblem {
  OutputWritten,
  OutputFolderMissing,
  OutputNotWritable,   // a read-only folder or medium, or no permission to write there
  OutputFileReadOnly,  // the file to be replaced is read-only
  OutputInUse,
  OutputIsFolder,
  OutputDiskFull,
  OutputNameNotAllowed,
  OutputOtherProblem  // detail says what
};

const int kListedInputs = 10;

class CreateReport : public BuildDiagnostics {
 public:
  // baseFolder: the folder the builder resolves relative names against.
  CreateReport(SettingsStore* settings, InputProbe* probe, const char* baseFolder);

  void Report(BuildIssueKind kind, const char* record, const char* path, const char* why) override;

  // Every input reported; the first kListedInputs of them are kept in full.
  int inputCount;
  ReportedInput inputs[kListedInputs];
  OutputProblem output;
  char outputDetail[160];

 private:
  void AddInput(const ReportedInput& input);
  void AddLaterFrames(int character, int endedAtSlot);

  SettingsStore* settings_;
  InputProbe* probe_;
  const char* baseFolder_;
  ReportedInput last_;  // the latest input, listed or only counted
};

// The problem an error number of the C library stands for when writing the output.
OutputProblem OutputProblemOfErrno(int error);
