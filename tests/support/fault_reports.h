// While one of these lives, a program that faults ends at once with the fault's code, as it
// does on a system without a debugger, instead of waiting in Wine's crash dialog.
#pragma once
#include <windows.h>

class NoFaultDebugger {
 public:
  NoFaultDebugger();
  ~NoFaultDebugger();

 private:
  HKEY key_ = nullptr;
  char saved_[512] = "";
  DWORD savedSize_ = sizeof saved_;
  bool hadDebugger_ = false;
};
