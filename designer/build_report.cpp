#include "build_report.h"

#include <cerrno>
#include <cstring>

namespace {

void CopyText(char* out, size_t size, const char* text) {
  size_t length = 0;
  for (; text && text[length] != '\0' && length + 1 < size; ++length) out[length] = text[length];
  out[length] = '\0';
}

bool SameInput(const ReportedInput& a, const ReportedInput& b) {
  return a.subject == b.subject && a.character == b.character && a.slot == b.slot && std::strcmp(a.name, b.name) == 0;
}

void AddInput(CreateReport* report, const ReportedInput& input) {
  // Several notes about one file make one entry.
  if (report->inputCount > 0 && SameInput(report->last, input)) {
    if (report->inputCount <= kListedInputs) {
      char* detail = report->inputs[report->inputCount - 1].detail;
      size_t used = std::strlen(detail);
      if (used + 3 < sizeof input.detail) {
        std::strcpy(detail + used, "; ");
        CopyText(detail + used + 2, sizeof input.detail - used - 2, input.detail);
      }
    }
    return;
  }
  if (report->inputCount < kListedInputs) report->inputs[report->inputCount] = input;
  report->last = input;
  ++report->inputCount;
}

void Hear(WalkListener* listener, const WalkOutcome& outcome) {
  CreateReport* report = reinterpret_cast<CreateReport*>(listener);
  if (outcome.subject == WalkOutput) {
    // The first failure explains the rest.
    if (report->output != OutputWritten) return;
    report->output = outcome.number != 0 ? OutputProblemOfErrno(static_cast<int>(outcome.number)) : OutputOtherProblem;
    CopyText(report->outputDetail, sizeof report->outputDetail, outcome.detail);
    return;
  }
  ReportedInput input = {};
  input.subject = outcome.subject;
  input.character = outcome.character;
  input.slot = outcome.slot;
  CopyText(input.name, sizeof input.name, outcome.named);
  input.reason = outcome.reason;
  input.number = outcome.number;
  if (IsLeftOut(outcome.reason)) {
    CopyText(input.detail, sizeof input.detail, outcome.detail);
  } else {
    // A note is told in the walk's own words.
    DescribeWalkReason(outcome, input.detail, sizeof input.detail);
  }
  AddInput(report, input);
}

}  // namespace

void OpenCreateReport(CreateReport* report) {
  std::memset(report, 0, sizeof *report);
  report->base.heard = Hear;
  report->output = OutputWritten;
}

OutputProblem OutputProblemOfErrno(int error) {
  switch (error) {
    case ENOENT:
      return OutputFolderMissing;
    case EACCES:
    case EPERM:
    case EROFS:
      return OutputNotWritable;
    case EISDIR:
      return OutputIsFolder;
    case ENOSPC:
    case EFBIG:
      return OutputDiskFull;
    case EINVAL:
    case ENAMETOOLONG:
      return OutputNameNotAllowed;
    default:
      return OutputOtherProblem;
  }
}
