#include "build_report.h"

#include <cerrno>
#include <cstring>

#include "character_keys.h"
#include "input_path.h"

namespace {

void CopyText(char* out, size_t size, const char* text) {
  size_t length = 0;
  for (; text && text[length] != '\0' && length + 1 < size; ++length) out[length] = text[length];
  out[length] = '\0';
}

bool SameInput(const ReportedInput& a, const ReportedInput& b) {
  return a.kind == b.kind && a.character == b.character && a.slot == b.slot && std::strcmp(a.name, b.name) == 0;
}

// "frame A2" is character 0, slot 2.
bool ParseFrameRecord(const char* record, int* character, int* slot) {
  if (std::strncmp(record, "frame ", 6) != 0 || std::strlen(record) != 8) return false;
  *character = record[6] - 'A';
  *slot = record[7] - '0';
  return *character >= 0 && *character < kCharacterCount && *slot >= 0 && *slot < kFrameSlotCount;
}

}  // namespace

OutputProblem OutputProblemOfErrno(int error) {
  switch (error) {
    case ENOENT:
      return OutputFolderMissing;
    case EACCES:
    case EPERM:
    case EROFS:
      return OutputNotWritable;
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

CreateReport::CreateReport(SettingsStore* settings, InputProbe* probe, const char* baseFolder)
    : inputCount(0), inputs(), output(OutputWritten), outputDetail(), settings_(settings), probe_(probe),
      baseFolder_(baseFolder), last_() {}

void CreateReport::Report(BuildIssueKind kind, const char* record, const char* path, const char* why) {
  if (std::strcmp(record, "output") == 0 || std::strcmp(record, "player image") == 0) {
    // The builder words the reason as the C library does, with errno still set by the failure;
    // errno is trusted only when its wording is the builder's. The first failure explains the rest.
    int error = errno;
    if (kind != BuildFailed || output != OutputWritten) return;
    bool worded = std::strcmp(record, "output") == 0 && why && std::strcmp(why, std::strerror(error)) == 0;
    output = worded ? OutputProblemOfErrno(error) : OutputOtherProblem;
    CopyText(outputDetail, sizeof outputDetail, why);
    return;
  }

  ReportedInput input = {};
  input.kind = OtherInput;
  CopyText(input.name, sizeof input.name, path);
  if (ParseFrameRecord(record, &input.character, &input.slot)) {
    input.kind = FrameInput;
    settings_->ReadText("Character", FrameKey(input.character, input.slot).text, "", input.name);
  } else if (std::strcmp(record, "wallpaper") == 0) {
    input.kind = WallpaperInput;
    settings_->ReadText("BackGround", "Bmp", "", input.name);
  } else if (std::strcmp(record, "sound") == 0) {
    input.kind = SoundInput;
    settings_->ReadText("BackGround", "Sound", "", input.name);
  }
  CopyText(input.detail, sizeof input.detail, why);

  char resolved[kMaxInputPath];
  InputState state = InputReadable;
  if (!ResolveInputPath(baseFolder_, input.name, kNativePathStyle, resolved, sizeof resolved)) {
    input.problem = InputNameTooLong;
  } else if ((state = probe_->state(probe_, path ? path : resolved)) != InputReadable) {
    input.problem = state == InputMissing ? InputNotFound : InputNotOpened;
  } else {
    // A picture that failed is left out; a sound that failed went in cut short, as the detail says.
    input.problem = kind == BuildFailed && input.kind != SoundInput ? InputNotTaken : InputNoted;
  }
  AddInput(input);

  // The builder ends a character's frames at a note about a file it could not reach.
  bool endsRun = kind == BuildLeftOut && (input.problem == InputNotFound || input.problem == InputNotOpened ||
                                       input.problem == InputNameTooLong);
  if (input.kind == FrameInput && endsRun) AddLaterFrames(input.character, input.slot);
}

void CreateReport::AddInput(const ReportedInput& input) {
  // Several notes about one file make one entry.
  if (inputCount > 0 && SameInput(last_, input)) {
    if (inputCount <= kListedInputs) {
      char* detail = inputs[inputCount - 1].detail;
      size_t used = std::strlen(detail);
      if (used + 3 < sizeof inputs[0].detail) {
        std::strcpy(detail + used, "; ");
        CopyText(detail + used + 2, sizeof inputs[0].detail - used - 2, input.detail);
      }
    }
    return;
  }
  if (inputCount < kListedInputs) inputs[inputCount] = input;
  last_ = input;
  ++inputCount;
}

void CreateReport::AddLaterFrames(int character, int endedAtSlot) {
  // The frames the builder would have taken: the slots up to the first empty one.
  for (int slot = endedAtSlot + 1; slot < kFrameSlotCount; ++slot) {
    ReportedInput later = {};
    later.kind = FrameInput;
    later.character = character;
    later.slot = slot;
    if (settings_->ReadText("Character", FrameKey(character, slot).text, "", later.name) == 0) break;
    later.problem = InputAfterEndedRun;
    later.endedAtSlot = endedAtSlot;
    AddInput(later);
  }
}
