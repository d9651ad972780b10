#include "process_runner.h"

#include <cstdio>

std::string ProgramFolder() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}

ChildProcess StartProgram(const std::string& program, const std::string& tail,
                          const std::vector<std::string>& environment) {
  // The child inherits this process's environment with the extra entries set.
  std::vector<std::pair<std::string, std::string>> saved;
  for (const std::string& entry : environment) {
    std::string name = entry.substr(0, entry.find('='));
    char old[4096];
    DWORD n = GetEnvironmentVariableA(name.c_str(), old, sizeof old);
    saved.emplace_back(name, n ? std::string(old, n) : std::string("\x01"));
    SetEnvironmentVariableA(name.c_str(), entry.substr(entry.find('=') + 1).c_str());
  }
  std::string line = "\"" + program + "\" " + tail;
  std::vector<char> buffer(line.begin(), line.end());
  buffer.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  ChildProcess child;
  if (CreateProcessA(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    CloseHandle(info.hThread);
    child.process = info.hProcess;
    child.id = info.dwProcessId;
  }
  for (const auto& entry : saved) {
    SetEnvironmentVariableA(entry.first.c_str(), entry.second == "\x01" ? nullptr : entry.second.c_str());
  }
  return child;
}

void PumpFor(DWORD ms) {
  DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (GetTickCount() - start < ms);
}

DWORD WaitForExit(ChildProcess& child, DWORD timeoutMs) {
  if (!child.process) return 0xBAD;
  DWORD start = GetTickCount();
  for (;;) {
    DWORD wait = MsgWaitForMultipleObjects(1, &child.process, FALSE, 50, QS_ALLINPUT);
    if (wait == WAIT_OBJECT_0) break;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (GetTickCount() - start > timeoutMs) {
      TerminateProcess(child.process, 0xDEAD);
      WaitForSingleObject(child.process, 5000);
      CloseHandle(child.process);
      child.process = nullptr;
      return 0xDEAD;
    }
  }
  DWORD code = 0;
  GetExitCodeProcess(child.process, &code);
  CloseHandle(child.process);
  child.process = nullptr;
  return code;
}

DWORD RunProgram(const std::string& program, const std::string& tail, const std::vector<std::string>& environment,
                 DWORD timeoutMs) {
  ChildProcess child = StartProgram(program, tail, environment);
  return WaitForExit(child, timeoutMs);
}

namespace {

struct WindowSearch {
  DWORD processId;
  const char* className;
  const char* title;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
  WindowSearch* search = reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId) return TRUE;
  char text[256];
  GetClassNameA(window, text, sizeof text);
  if (lstrcmpA(text, search->className) != 0) return TRUE;
  if (search->title) {
    GetWindowTextA(window, text, sizeof text);
    if (lstrcmpA(text, search->title) != 0) return TRUE;
  }
  search->found = window;
  return FALSE;
}

}  // namespace

HWND FindProcessWindow(DWORD processId, const char* className, const char* title) {
  WindowSearch search = {processId, className, title, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForProcessWindow(DWORD processId, const char* className, const char* title, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindProcessWindow(processId, className, title)) != nullptr; }, timeoutMs);
  return found;
}

std::string ReadWholeFile(const std::string& path) {
  std::string bytes;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return bytes;
  char chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, n);
  std::fclose(file);
  return bytes;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}
