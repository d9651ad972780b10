#include "program_icon.h"

#include <cstring>

namespace {

#pragma pack(push, 2)
struct GroupEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bits;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

BOOL CALLBACK FirstGroup(HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
  *reinterpret_cast<LPSTR*>(found) = name;
  return FALSE;
}

}  // namespace

std::vector<IconEntry> ReadProgramIcon(const std::string& programPath) {
  std::vector<IconEntry> entries;
  HMODULE module = LoadLibraryExA(programPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return entries;
  LPSTR name = nullptr;
  EnumResourceNamesA(module, RT_GROUP_ICON, FirstGroup, reinterpret_cast<LONG_PTR>(&name));
  HRSRC group = name ? FindResourceA(module, name, RT_GROUP_ICON) : nullptr;
  const BYTE* directory = group ? static_cast<const BYTE*>(LockResource(LoadResource(module, group))) : nullptr;
  const WORD count = directory ? reinterpret_cast<const WORD*>(directory)[2] : 0;
  for (WORD i = 0; i < count; ++i) {
    GroupEntry e;
    std::memcpy(&e, directory + 6 + sizeof e * i, sizeof e);
    IconEntry entry;
    entry.size = e.width ? e.width : 256;
    entry.bits = e.bits;
    HRSRC picture = FindResourceA(module, MAKEINTRESOURCEA(e.id), RT_ICON);
    BYTE* data = picture ? static_cast<BYTE*>(LockResource(LoadResource(module, picture))) : nullptr;
    entry.bytes = picture ? SizeofResource(module, picture) : 0;
    if (data) {
      entry.png = entry.bytes > 8 && std::memcmp(data, "\x89PNG\r\n\x1a\n", 8) == 0;
      HICON icon = CreateIconFromResourceEx(data, entry.bytes, TRUE, 0x00030000, entry.size, entry.size, 0);
      ICONINFO info = {};
      BITMAP colours = {};
      if (icon && GetIconInfo(icon, &info)) {
        HBITMAP shown = info.hbmColor ? info.hbmColor : info.hbmMask;
        entry.made = GetObjectA(shown, sizeof colours, &colours) && colours.bmWidth == entry.size;
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
      }
      if (icon) DestroyIcon(icon);
    }
    entries.push_back(entry);
  }
  FreeLibrary(module);
  return entries;
}
