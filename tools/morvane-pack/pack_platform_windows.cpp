#include <windows.h>

#include <cstdio>
#include <cstring>

#include "pack_platform.h"
#include "wic_picture_codec.h"
#include "windows_profile_store.h"
#include "windows_sound_codec.h"

const char kPathSeparator = '\\';

namespace {

bool DirectoryPart(const char* path, char* out, size_t size) {
  const char* cut = nullptr;
  for (const char* p = path; *p; p = CharNextA(p))
    if (*p == '\\' || *p == '/' || *p == ':') cut = p;
  if (!cut) {
    if (size < 2) return false;
    std::strcpy(out, ".");
    return true;
  }
  size_t length = static_cast<size_t>(cut - path) + (*cut == ':' ? 1 : 0);
  if (length == 0 || (length == 2 && path[1] == ':')) length = static_cast<size_t>(cut - path) + 1;
  if (length + 1 > size) return false;
  std::memcpy(out, path, length);
  out[length] = '\0';
  return true;
}

}  // namespace

bool ToolFolder(char* out, size_t size) {
  char self[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  return DirectoryPart(self, out, size);
}

bool DefaultPlayerImage(char* out, size_t size) {
  char folder[kMaxToolPath];
  if (!ToolFolder(folder, sizeof folder)) return false;
  int length = std::snprintf(out, size, "%s\\player.scr", folder);
  return length >= 0 && static_cast<size_t>(length) < size;
}

bool SettingsFolder(const char* settingsFile, bool isDefault, char* out, size_t size) {
  if (isDefault) {
    UINT length = GetWindowsDirectoryA(out, static_cast<UINT>(size));
    return length > 0 && length < size;
  }
  return DirectoryPart(settingsFile, out, size);
}

SettingsStore* OpenSettings(const char* path, const char** problem) {
  // The profile service takes a bare name as one in the Windows folder; a file named on the
  // command line is meant relative to the current folder, so it is made absolute first.
  static char fullPath[MAX_PATH];
  static WindowsProfileStore defaultStore;
  static WindowsProfileStore namedStore(fullPath);
  if (!path) return &defaultStore;
  DWORD length = GetFullPathNameA(path, MAX_PATH, fullPath, nullptr);
  if (length == 0 || length >= MAX_PATH) {
    *problem = "settings file name too long";
    return nullptr;
  }
  return &namedStore;
}

PictureCodec* SystemPictureCodec() {
  static WicPictureCodec decoder;
  OpenWicPictureCodec(&decoder);
  return &decoder.base;
}

SoundCodec* SystemSoundCodec() {
  static WindowsSoundCodec decoder;
  OpenWindowsSoundCodec(&decoder);
  return &decoder.base;
}

bool FindProgram(const char* name, char* out, size_t size) {
  DWORD length = SearchPathA(nullptr, name, ".exe", static_cast<DWORD>(size), out, nullptr);
  return length > 0 && length < size;
}

namespace {

// One argument as the C runtime's command-line parser reads it back: in quotes, with the
// backslashes before a quote doubled.
void AppendQuoted(char* line, size_t size, const char* argument) {
  size_t at = std::strlen(line);
  auto put = [&](char c) {
    if (at + 1 < size) line[at++] = c;
  };
  if (at > 0) put(' ');
  put('"');
  size_t backslashes = 0;
  for (const char* p = argument; *p; ++p) {
    if (*p == '\\') {
      ++backslashes;
      continue;
    }
    for (size_t i = 0; i < (*p == '"' ? 2 * backslashes + 1 : backslashes); ++i) put('\\');
    backslashes = 0;
    put(*p);
  }
  for (size_t i = 0; i < 2 * backslashes; ++i) put('\\');
  put('"');
  line[at] = '\0';
}

}  // namespace

int RunProgram(const char* const* argv, const char* errorLog) {
  static char line[32768];
  line[0] = '\0';
  for (const char* const* argument = argv; *argument; ++argument) AppendQuoted(line, sizeof line, *argument);
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  HANDLE log = CreateFileA(errorLog, GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  HANDLE nothing = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = nothing;
  startup.hStdError = log;
  PROCESS_INFORMATION process = {};
  BOOL started = CreateProcessA(argv[0], line, nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
  if (log != INVALID_HANDLE_VALUE) CloseHandle(log);
  if (nothing != INVALID_HANDLE_VALUE) CloseHandle(nothing);
  if (!started) return -1;
  DWORD status = static_cast<DWORD>(-1);
  WaitForSingleObject(process.hProcess, INFINITE);
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(status);
}

unsigned long ProcessNumber() { return GetCurrentProcessId(); }
