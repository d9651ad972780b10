// The first icon of a program file, each of its pictures as the system makes an icon of it.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct IconEntry {
  int size = 0;       // pixels across
  int bits = 0;       // per pixel
  bool png = false;   // PNG-compressed
  bool made = false;  // the system made an icon of that size from it
  DWORD bytes = 0;
};

std::vector<IconEntry> ReadProgramIcon(const std::string& programPath);
