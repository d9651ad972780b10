// What a Create build did, for the message that follows it: whether the packaged saver itself
// could be written, and every file named in the settings that did not go in as named, in
// package order, with the scene walk's reason.
#pragma once
#include "package_builder.h"
#include "settings_limits.h"
#include "walk_outcome.h"

struct ReportedInput {
  WalkSubject subject;
  int character;  // frames: 0 to 19
  int slot;       // frames: 0 to 9
  char name[kSettingBufferSize];  // as the settings name the file
  WalkReason reason;
  uint32_t number;
  char detail[160];  // the reader's or the system's words; for a note, the whole note
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

struct CreateReport {
  WalkListener base;
  // Every input reported; the first kListedInputs of them are kept in full.
  int inputCount;
  ReportedInput inputs[kListedInputs];
  OutputProblem output;
  char outputDetail[160];
  ReportedInput last;  // the latest input, listed or only counted
};

void OpenCreateReport(CreateReport* report);

// The problem an error number of the C library stands for when writing the output.
OutputProblem OutputProblemOfErrno(int error);
