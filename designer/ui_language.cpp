#include "ui_language.h"

#include "designer_resources.h"
#include "saver_host.h"

namespace {

// RT_DIALOG and RT_STRING.
const LPCSTR kDialogType = MAKEINTRESOURCEA(5);
const LPCSTR kStringType = MAKEINTRESOURCEA(6);

struct LanguageSearch {
  HRSRC chosen;
  LANGID found;
};

BOOL CALLBACK MatchChosenLanguage(HMODULE module, LPCSTR type, LPCSTR name, WORD language, LONG_PTR context) {
  LanguageSearch* search = reinterpret_cast<LanguageSearch*>(context);
  if (FindResourceExA(module, type, name, language) != search->chosen) return TRUE;
  search->found = language;
  return FALSE;
}

const void* Lock(HRSRC resource, DWORD* size) {
  HGLOBAL loaded = resource ? LoadResource(moduleInstance, resource) : nullptr;
  if (!loaded) return nullptr;
  if (size) *size = SizeofResource(moduleInstance, resource);
  return LockResource(loaded);
}

// Copies entry id of a string block, which holds sixteen counted UTF-16 strings; an empty
// entry is a string the block's language does not have.
int CopyStringEntry(const WORD* block, UINT id, wchar_t* text, int capacity) {
  text[0] = L'\0';
  if (!block) return 0;
  for (UINT i = 0; i < (id & 15); ++i) block += 1 + *block;
  int length = *block < capacity ? *block : capacity - 1;
  for (int i = 0; i < length; ++i) text[i] = static_cast<wchar_t>(block[1 + i]);
  text[length] = L'\0';
  return length;
}

}  // namespace

LANGID DialogLanguage() {
  // The system's choice cannot be asked for directly; it is the language whose copy of the
  // dialog is the one the plain lookup returns.
  static LANGID language;
  if (language != 0) return language;
  LanguageSearch search = {FindResourceA(moduleInstance, MAKEINTRESOURCEA(IDD_CONFIGURATION), kDialogType),
                           MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)};
  if (search.chosen)
    EnumResourceLanguagesA(moduleInstance, kDialogType, MAKEINTRESOURCEA(IDD_CONFIGURATION), MatchChosenLanguage,
                           reinterpret_cast<LONG_PTR>(&search));
  language = search.found;
  return language;
}

const void* LockResourceIn(LPCSTR type, LPCSTR name, DWORD* size) {
  HRSRC resource = FindResourceExA(moduleInstance, type, name, DialogLanguage());
  if (!resource) resource = FindResourceA(moduleInstance, name, type);
  return Lock(resource, size);
}

int LoadStringIn(UINT id, wchar_t* text, int capacity) {
  LPCSTR block = MAKEINTRESOURCEA((id >> 4) + 1);
  int length = CopyStringEntry(static_cast<const WORD*>(Lock(FindResourceExA(moduleInstance, kStringType, block,
                                                                                DialogLanguage()), nullptr)),
                               id, text, capacity);
  if (length > 0) return length;
  return CopyStringEntry(static_cast<const WORD*>(Lock(FindResourceA(moduleInstance, block, kStringType), nullptr)), id,
                         text, capacity);
}
