#include "fault_reports.h"

NoFaultDebugger::NoFaultDebugger() {
  if (RegCreateKeyA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug", &key_) !=
      ERROR_SUCCESS) {
    key_ = nullptr;
    return;
  }
  hadDebugger_ = RegQueryValueExA(key_, "Debugger", nullptr, nullptr, reinterpret_cast<BYTE*>(saved_), &savedSize_) ==
                 ERROR_SUCCESS;
  RegSetValueExA(key_, "Debugger", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
}

NoFaultDebugger::~NoFaultDebugger() {
  if (!key_) return;
  if (hadDebugger_) RegSetValueExA(key_, "Debugger", 0, REG_SZ, reinterpret_cast<const BYTE*>(saved_), savedSize_);
  RegCloseKey(key_);
}
