#include "create_outcome.h"

#include "build_report.h"
#include "designer_build.h"
#include "designer_folder.h"
#include "designer_resources.h"
#include "designer_state.h"
#include "page_controls.h"
#include "ui_language.h"

namespace {

// A message being put together, cut off (never overrun) when it grows too long for a box.
struct MessageText {
  wchar_t text[8192];
  int length;

  void Add(const wchar_t* part) {
    while (*part && length < static_cast<int>(sizeof text / sizeof text[0]) - 1) text[length++] = *part++;
    text[length] = L'\0';
  }
  void AddAnsi(const char* part) {
    wchar_t wide[kSettingBufferSize * 2];
    if (!MultiByteToWideChar(CP_ACP, 0, part, -1, wide, sizeof wide / sizeof wide[0])) wide[0] = L'\0';
    Add(wide);
  }
  void AddResource(UINT id) { Add(ResourceText(id)); }
};

int Show(HWND page, const MessageText& message, UINT buttons) {
  return MessageBoxW(page, message.text, ResourceText(IDS_CAPTION), buttons);
}

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

UINT ReasonText(OutputProblem problem) {
  switch (problem) {
    case OutputFolderMissing:
      return IDS_OUTPUT_FOLDER_MISSING;
    case OutputNotWritable:
      return IDS_OUTPUT_NOT_WRITABLE;
    case OutputFileReadOnly:
      return IDS_OUTPUT_FILE_READ_ONLY;
    case OutputInUse:
      return IDS_OUTPUT_IN_USE;
    case OutputIsFolder:
      return IDS_OUTPUT_IS_FOLDER;
    case OutputDiskFull:
      return IDS_OUTPUT_DISK_FULL;
    case OutputNameNotAllowed:
      return IDS_OUTPUT_NAME_NOT_ALLOWED;
    default:
      return 0;
  }
}

// The failure message, then the file in full and why it could not be written; detail (may be
// null) says why when no text of our own does.
void ShowOutputFailure(HWND page, const char* name, OutputProblem problem, const wchar_t* detail) {
  MessageText message = {};
  message.AddResource(IDS_BUILD_FAILED);
  message.Add(L"\r\n\r\n");
  char full[MAX_PATH];
  DWORD length = GetFullPathNameA(name, MAX_PATH, full, nullptr);
  message.AddAnsi(length > 0 && length < MAX_PATH ? full : name);
  message.Add(L"\r\n");
  UINT reason = ReasonText(problem);
  if (reason != 0) {
    message.AddResource(reason);
  } else if (detail) {
    message.Add(detail);
  }
  Show(page, message, MB_OK | MB_ICONHAND);
}

InputState ProbeInput(InputProbe*, const char* path) {
  if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME)
      return InputMissing;
  }
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return InputUnopenable;
  CloseHandle(file);
  return InputReadable;
}

// "画像1 の 3 コマ目 (bal2.bmp): 見つからないため、入っていません。", as the dialog names things:
// characters by their tab, frames by their row.
void AddInputLine(MessageText* message, const ReportedInput& input) {
  wchar_t what[256];
  if (input.kind == FrameInput) {
    wsprintfW(what, ResourceText(IDS_INPUT_FRAME), input.character + 1, input.slot + 1);
  } else {
    lstrcpynW(what, ResourceText(input.kind == WallpaperInput ? IDS_INPUT_WALLPAPER
                                 : input.kind == SoundInput   ? IDS_INPUT_SOUND
                                                              : IDS_INPUT_OTHER),
              256);
  }
  wchar_t name[kSettingBufferSize * 2], detail[sizeof input.detail];
  if (!MultiByteToWideChar(CP_ACP, 0, input.name, -1, name, sizeof name / sizeof name[0])) name[0] = L'\0';
  // The builder's own words, in the C locale's characters.
  if (!MultiByteToWideChar(CP_ACP, 0, input.detail, -1, detail, sizeof detail / sizeof detail[0])) detail[0] = L'\0';

  wchar_t why[1024];
  switch (input.problem) {
    case InputNotFound:
      lstrcpynW(why, ResourceText(IDS_INPUT_NOT_FOUND), 1024);
      break;
    case InputNotOpened:
      lstrcpynW(why, ResourceText(IDS_INPUT_NOT_OPENED), 1024);
      break;
    case InputNotTaken:
      wsprintfW(why, ResourceText(IDS_INPUT_NOT_TAKEN), detail);
      break;
    case InputNameTooLong:
      lstrcpynW(why, ResourceText(IDS_INPUT_NAME_TOO_LONG), 1024);
      break;
    case InputAfterEndedRun:
      wsprintfW(why, ResourceText(IDS_INPUT_AFTER_ENDED_RUN), input.endedAtSlot + 1);
      break;
    case InputNoted:
      lstrcpynW(why, detail, 1024);
      break;
  }
  wchar_t line[2048];
  wsprintfW(line, ResourceText(IDS_INPUT_LINE), what, name, why);
  message->Add(L"\r\n");
  message->Add(line);
}

void ShowFilesLeftOut(HWND page, const CreateReport& report) {
  MessageText message = {};
  message.AddResource(IDS_BUILD_WARNING);
  message.Add(L"\r\n");
  int listed = report.inputCount < kListedInputs ? report.inputCount : kListedInputs;
  for (int i = 0; i < listed; ++i) AddInputLine(&message, report.inputs[i]);
  if (report.inputCount > listed) {
    message.Add(L"\r\n");
    wchar_t more[256];
    wsprintfW(more, ResourceText(IDS_INPUT_MORE), report.inputCount - listed);
    message.Add(more);
  }
  Show(page, message, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

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
    wchar_t system[512] = L"";
    const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    if (!FormatMessageW(flags, nullptr, error, DialogLanguage(), system, 512, nullptr))
      FormatMessageW(flags, nullptr, error, 0, system, 512, nullptr);
    ShowOutputFailure(page, name, ProblemOfSystemError(error, attributes), system);
    return false;
  }
  CloseHandle(file);
  if (!exists) DeleteFileA(name);
  return true;
}

void BuildAndReport(HWND page, const char* name) {
  char folder[MAX_PATH];
  DesignerFolder(folder);
  InputProbe probe = {ProbeInput};
  CreateReport report(DesignerSettings(), &probe, folder);
  char status = kBuildSucceeded;
  BuildFromDesignerSettings(name, &status, &report);

  if (report.output != OutputWritten) {
    wchar_t detail[sizeof report.outputDetail];
    if (!MultiByteToWideChar(CP_ACP, 0, report.outputDetail, -1, detail, sizeof detail / sizeof detail[0]))
      detail[0] = L'\0';
    ShowOutputFailure(page, name, report.output, detail);
  } else if (report.inputCount > 0) {
    ShowFilesLeftOut(page, report);
  } else if (status == kBuildSucceeded) {
    MessageText message = {};
    message.AddResource(IDS_BUILD_SUCCEEDED);
    Show(page, message, MB_OK | MB_ICONEXCLAMATION);
  } else {
    MessageText message = {};
    message.AddResource(IDS_BUILD_FAILED);
    Show(page, message, MB_OK | MB_ICONHAND);
  }
}
