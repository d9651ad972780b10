// Reads a dialog resource of a program file as the system would, so tests can compare ids, texts,
// positions, sizes, styles and fonts with what the programs must show.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct DialogItem {
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  DWORD id = 0;
  WORD classAtom = 0;  // 0x80 button, 0x81 edit, 0x82 static ... or 0 with className
  std::wstring className;
  WORD titleOrdinal = 0;  // a resource id as title (a bitmap for an image static), or 0
  std::wstring title;
};

struct DialogTemplate {
  bool found = false;
  bool extended = false;
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::wstring title;
  WORD pointSize = 0;
  std::wstring font;
  std::vector<DialogItem> items;

  const DialogItem* Item(DWORD id) const;
};

// The dialog resource of the given name or id and language in the program file.
DialogTemplate ReadDialogTemplate(const std::string& programPath, LPCWSTR name, WORD language);

// String `id` of the module's string table in the given language; "<none>" when the language has
// no such block.
std::wstring ReadStringResource(HMODULE module, UINT id, WORD language);

// "ＭＳ ゴシック", the face every dialog of the programs names.
extern const wchar_t kGothicFace[];
