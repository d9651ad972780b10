// Starting the real programs from a Windows test: command lines, extra environment, exit codes,
// and waiting for their windows while this thread keeps pumping its own messages.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct ChildProcess {
  HANDLE process = nullptr;
  DWORD id = 0;
};

// The folder of the running test program, with a trailing backslash.
std::string ProgramFolder();

// Starts "program" tail; environment entries are NAME=VALUE pairs added for the child only.
ChildProcess StartProgram(const std::string& program, const std::string& tail,
                          const std::vector<std::string>& environment = {});

// Waits for the child to end while pumping this thread's messages; returns its exit code, or
// 0xDEAD when it did not end in time (the child is then killed).
DWORD WaitForExit(ChildProcess& child, DWORD timeoutMs = 15000);

// Runs a program to its end and returns its exit code.
DWORD RunProgram(const std::string& program, const std::string& tail,
                 const std::vector<std::string>& environment = {}, DWORD timeoutMs = 15000);

// Pumps this thread's messages for the given time.
void PumpFor(DWORD ms);

// A top-level window of the process with the given class (any title when title is null), or null
// when it has none yet.
HWND FindProcessWindow(DWORD processId, const char* className, const char* title = nullptr);

// Waits for such a window.
HWND WaitForProcessWindow(DWORD processId, const char* className, const char* title, DWORD timeoutMs = 10000);

// Waits until the predicate holds, pumping messages; returns whether it did.
template <typename Predicate>
bool WaitUntil(Predicate predicate, DWORD timeoutMs = 10000) {
  DWORD start = GetTickCount();
  while (!predicate()) {
    if (GetTickCount() - start > timeoutMs) return false;
    PumpFor(20);
  }
  return true;
}

// Reads a whole file; empty when it does not exist.
std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& bytes);
