// A program file's version resource as the system's file properties read it.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct FileVersion {
  bool found = false;
  VS_FIXEDFILEINFO fixed = {};
  std::vector<DWORD> translations;  // language | code page << 16, in the resource's order
  std::vector<BYTE> data;

  // A string of the given language's table (code page 1200); "<none>" when it has none.
  std::wstring Text(WORD language, const wchar_t* name) const;
};

FileVersion ReadFileVersion(const std::string& path);
