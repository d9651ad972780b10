// The language the programs' texts come in: the system picks it by the user's interface
// language, Japanese on a Japanese system and English on any other.
#pragma once
#include <windows.h>

inline bool JapaneseSystem() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE; }

inline const wchar_t* SystemText(const wchar_t* japanese, const wchar_t* english) {
  return JapaneseSystem() ? japanese : english;
}
