#include "create_outcome.h"

#include "build_report.h"
#include "designer_build.h"
#include "designer_folder.h"
#include "designer_resources.h"
#include "designer_state.h"
#include "message_text.h"
#include "page_controls.h"
#include "saver_host.h"
#include "sound_format.h"
#include "ui_language.h"

namespace {

OutputProblem ProblemOfSystemError(DWORD error, DWORD attributes) {
  bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  switch (error) {
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return OutputFolderMissing;
    case ERROR_ACCESS_DENIED:
      return exists && (attributes & FILE_ATTRIBUTE_READONLY) ? OutputFileReadOnly : OutputNotWritable;
    case ERROR_WRITE_PROTECT:
      return OutputNotWritable;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return OutputInUse;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return OutputDiskFull;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
      return OutputNameNotAllowed;
    default:
      return OutputOtherProblem;
  }
}

// The reason's text, in the order of OutputProblem; 0 where none of our own says it.
UINT ReasonText(OutputProblem problem) {
  const UINT kTexts[] = {0, IDS_OUTPUT_FOLDER_MISSING, IDS_OUTPUT_NOT_WRITABLE, IDS_OUTPUT_FILE_READ_ONLY, IDS_OUTPUT_IN_USE,
                         IDS_OUTPUT_IS_FOLDER, IDS_OUTPUT_DISK_FULL, IDS_OUTPUT_NAME_NOT_ALLOWED, 0};
  static_assert(sizeof kTexts / sizeof kTexts[0] == OutputOtherProblem + 1, "an entry for every problem");
  return kTexts[problem];
}

// The failure message, then the file in full and why it could not be written; detail (may be
// null) says why when no text of our own does.
void ShowOutputFailure(HWND page, const char* name, OutputProblem problem, const wchar_t* detail) {
  const SaverHost* host = DialogHost(page);
  MessageText message;
  message.Fill(host, IDS_BUILD_FAILED, {});
  message.Add(L"\r\n\r\n");
  char full[MAX_PATH];
  DWORD length = GetFullPathNameA(name, MAX_PATH, full, nullptr);
  message.AddAnsi(length > 0 && length < MAX_PATH ? full : name);
  message.Add(L"\r\n");
  UINT reason = ReasonText(problem);
  if (reason != 0) {
    message.Fill(host, reason, {});
  } else if (detail) {
    message.Add(detail);
  }
  Show(page, message, MB_OK | MB_ICONHAND);
}

// "画像1 の 3 コマ目（bal2.bmp）：見つからないため、入っていません。", as the dialog names things:
// characters by their tab, frames by their row.
void AddInputLine(const SaverHost* host, WideText* message, const ReportedInput& input) {
  wchar_t whatText[256], characterNumber[12], slotNumber[12];
  WideText what(whatText, 256), character(characterNumber, 12), slot(slotNumber, 12);
  character.AddNumber(input.character + 1);
  slot.AddNumber(input.slot + 1);
  if (input.subject == WalkFrame) {
    what.Fill(host, IDS_INPUT_FRAME, {characterNumber, slotNumber});
  } else {
    what.Fill(host, input.subject == WalkWallpaper ? IDS_INPUT_WALLPAPER : input.subject == WalkSound ? IDS_INPUT_SOUND
                                                                                               : IDS_INPUT_OTHER,
              {});
  }
  wchar_t nameText[kSettingBufferSize * 2], detailText[sizeof input.detail * 2];
  WideText name(nameText, sizeof nameText / sizeof nameText[0]), detail(detailText, sizeof detailText / sizeof detailText[0]);
  name.AddAnsi(input.name);
  detail.AddAnsi(input.detail);  // the reader's or the system's own words

  wchar_t whyText[1024], numberText[12];
  WideText why(whyText, 1024), number(numberText, 12);
  const bool slotNumbered = input.reason == LeftAfterEndedRun || input.reason == LeftAfterEmptySlot;
  number.AddNumber(slotNumbered ? static_cast<int>(input.number) + 1 : static_cast<int>(input.number >> 20));
  // A text with a blank takes the reader's words, the slot that ended the run or the limit.
  UINT reasonText = 0;
  switch (input.reason) {
    case LeftMissing: reasonText = IDS_INPUT_NOT_FOUND; break;
    case LeftUnopenable: reasonText = IDS_INPUT_NOT_OPENED; break;
    case LeftNameTooLong: reasonText = IDS_INPUT_NAME_TOO_LONG; break;
    case LeftNotTaken: reasonText = IDS_INPUT_NOT_A_KIND; break;
    case LeftSoundNotStorable:
      reasonText = input.number == SoundUnknown || input.number >= static_cast<uint32_t>(kSoundFormatCount)
                       ? IDS_INPUT_SOUND_UNKNOWN
                       : IDS_INPUT_SOUND_FORM;
      break;
    case LeftDamaged: reasonText = IDS_INPUT_NOT_TAKEN; break;
    case LeftOverLimit: reasonText = IDS_INPUT_OVER_LIMIT; break;
    case LeftNeverShown: reasonText = IDS_INPUT_NEVER_SHOWN; break;
    case LeftAfterEndedRun: reasonText = IDS_INPUT_AFTER_ENDED_RUN; break;
    case LeftAfterEmptySlot: reasonText = IDS_INPUT_AFTER_EMPTY_SLOT; break;
    case LeftNoRoom: reasonText = IDS_INPUT_NO_ROOM; break;
    case NoteWallpaperScaled: reasonText = IDS_INPUT_WALLPAPER_SCALED; break;
    case NoteWallpaperCut: reasonText = IDS_INPUT_WALLPAPER_CUT; break;
    default: break;  // a note, told in the walk's words
  }
  if (reasonText == 0) {
    why.Add(detailText);
  } else if (reasonText == IDS_INPUT_SOUND_FORM) {
    wchar_t formatText[64];
    WideText format(formatText, 64);
    format.Fill(host, IDS_SOUND_FORMAT_FIRST + input.number, {});
    why.Fill(host, reasonText, {formatText, detailText});
  } else if (input.reason == NoteWallpaperScaled || input.reason == NoteWallpaperCut) {
    wchar_t widthText[12], heightText[12];
    WideText width(widthText, 12), height(heightText, 12);
    width.AddNumber(static_cast<int>(input.number >> 16));
    height.AddNumber(static_cast<int>(input.number & 0xFFFF));
    why.Fill(host, reasonText, {widthText, heightText});
  } else {
    why.Fill(host, reasonText, {slotNumbered || input.reason == LeftOverLimit ? numberText : detailText});
  }
  message->Fill(host, IDS_INPUT_LINE, {whatText, nameText, whyText});
}

void AddReportedInputs(const SaverHost* host, WideText* text, const CreateReport& report) {
  int listed = report.inputCount < kListedInputs ? report.inputCount : kListedInputs;
  for (int i = 0; i < listed; ++i) {
    if (i > 0) text->Add(L"\r\n");
    AddInputLine(host, text, report.inputs[i]);
  }
  if (report.inputCount > listed) {
    wchar_t moreNumber[12];
    WideText more(moreNumber, 12);
    more.AddNumber(report.inputCount - listed);
    text->Add(L"\r\n");
    text->Fill(host, IDS_INPUT_MORE, {moreNumber});
  }
}

void ShowFilesLeftOut(HWND page, const CreateReport& report) {
  const SaverHost* host = DialogHost(page);
  MessageText message;
  message.Fill(host, IDS_BUILD_WARNING, {});
  message.Add(L"\r\n\r\n");
  AddReportedInputs(host, &message, report);
  Show(page, message, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

void DescribeReportedInputs(const SaverHost* host, const CreateReport& report, wchar_t* text, int capacity) {
  WideText lines(text, capacity);
  AddReportedInputs(host, &lines, report);
}

bool CheckOutputWritable(HWND page, const char* name) {
  DWORD attributes = GetFileAttributesA(name);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ShowOutputFailure(page, name, OutputIsFolder, nullptr);
    return false;
  }
  // An existing file is opened for writing and left as it is; a new one is made and removed
  // again. Either way the user's files are unchanged until the build has something to put there.
  bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, exists ? OPEN_EXISTING : CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    // The system's own words for a reason we have none for, in the dialog's language when the
    // system has them in it.
    char systemText[512] = "";
    const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    if (!FormatMessageA(flags, nullptr, error, DialogHost(page)->dialogLanguage, systemText, sizeof systemText, nullptr))
      FormatMessageA(flags, nullptr, error, 0, systemText, sizeof systemText, nullptr);
    wchar_t system[512];
    WideText(system, 512).AddAnsi(systemText);
    ShowOutputFailure(page, name, ProblemOfSystemError(error, attributes), system);
    return false;
  }
  CloseHandle(file);
  if (!exists) DeleteFileA(name);
  return true;
}

void BuildAndReport(HWND page, const char* name) {
  CreateReport report;
  OpenCreateReport(&report);
  char status = kBuildSucceeded;
  BuildFromDesignerSettings(DialogSession(page), name, &status, &report.base);

  if (report.output != OutputWritten) {
    wchar_t detail[sizeof report.outputDetail];
    WideText(detail, sizeof detail / sizeof detail[0]).AddAnsi(report.outputDetail);
    ShowOutputFailure(page, name, report.output, detail);
  } else if (report.inputCount > 0) {
    ShowFilesLeftOut(page, report);
  } else if (status == kBuildSucceeded) {
    const SaverHost* host = DialogHost(page);
    MessageText message;
    message.Fill(host, IDS_BUILD_SUCCEEDED, {});
    Show(page, message, MB_OK | MB_ICONEXCLAMATION);
  } else {
    const SaverHost* host = DialogHost(page);
    MessageText message;
    message.Fill(host, IDS_BUILD_FAILED, {});
    Show(page, message, MB_OK | MB_ICONHAND);
  }
}
