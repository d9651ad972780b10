#include "ui_language.h"

#include "designer_resources.h"
#include "saver_host.h"

namespace {

// RT_DIALOG and RT_STRING, for the wide calls.
const LPCWSTR kDialogType = MAKEINTRESOURCEW(5);
const LPCWSTR kStringType = MAKEINTRESOURCEW(6);

struct LanguageSearch {
  HRSRC chosen;
  LANGID found;
};

BOOL CALLBACK MatchChosenLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR context) {
  LanguageSearch* search = reinterpret_cast<LanguageSearch*>(context);
  if (FindResourceExW(module, type, name, language) != search->chosen) return TRUE;
  search->found = language;
  return FALSE;
}

const void* Lock(HRSRC resource, DWORD* size) {
  HGLOBAL loaded = resource ? LoadResource(moduleInstance, resource) : nullptr;
  if (!loaded) return nullptr;
  if (size) *size = SizeofResource(moduleInstance, resource);
  return LockResource(loaded);
}

}  // namespace

LANGID DialogLanguage() {
  // The system's choice cannot be asked for directly; it is the language whose copy of the
  // dialog is the one the plain lookup returns.
  static LANGID language;
  if (language != 0) return language;
  LanguageSearch search = {FindResourceW(moduleInstance, MAKEINTRESOURCEW(IDD_CONFIGURATION), kDialogType),
                           MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)};
  if (search.chosen)
    EnumResourceLanguagesW(moduleInstance, kDialogType, MAKEINTRESOURCEW(IDD_CONFIGURATION),
                           MatchChosenLanguage, reinterpret_cast<LONG_PTR>(&search));
  language = search.found;
  return language;
}

const void* LockResourceIn(LPCWSTR type, LPCWSTR name, DWORD* size) {
  HRSRC resource = FindResourceExW(moduleInstance, type, name, DialogLanguage());
  if (!resource) resource = FindResourceW(moduleInstance, name, type);
  return Lock(resource, size);
}

int LoadStringIn(UINT id, wchar_t* text, int capacity) {
  text[0] = L'\0';
  // Strings are kept sixteen to a block, each a length followed by that many characters; an
  // empty entry is a string the block's language does not have.
  HRSRC block = FindResourceExW(moduleInstance, kStringType, MAKEINTRESOURCEW((id >> 4) + 1), DialogLanguage());
  const WCHAR* entry = static_cast<const WCHAR*>(Lock(block, nullptr));
  if (entry) {
    for (UINT i = 0; i < (id & 15); ++i) entry += 1 + *entry;
    int length = *entry < capacity ? *entry : capacity - 1;
    for (int i = 0; i < length; ++i) text[i] = entry[1 + i];
    text[length] = L'\0';
    if (length > 0) return length;
  }
  int length = LoadStringW(moduleInstance, id, text, capacity);
  return length > 0 ? length : 0;
}
