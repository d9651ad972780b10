// Messages put together from string-table texts and data in the ANSI code page, shown in the
// dialog's language on both platform families.
#pragma once
#include <windows.h>

#include <initializer_list>

#include "settings_limits.h"
#include "system_text.h"

// Text being put together in a buffer of the caller's, cut off (never overrun) at its end. Only
// calls that both platform families implement are used: the 9x family's wide string calls are
// stubs.
struct WideText {
  wchar_t* text;
  int capacity;
  int length;

  WideText(wchar_t* buffer, int size) : text(buffer), capacity(size), length(0) { text[0] = L'\0'; }

  void Add(const wchar_t* part) {
    while (*part && length < capacity - 1) text[length++] = *part++;
    text[length] = L'\0';
  }
  void AddAnsi(const char* part) {
    wchar_t wide[kSettingBufferSize * 2];
    if (!MultiByteToWideChar(CP_ACP, 0, part, -1, wide, sizeof wide / sizeof wide[0])) wide[0] = L'\0';
    Add(wide);
  }
  void AddNumber(int number) {
    wchar_t digits[12];
    int at = 11;
    digits[at] = L'\0';
    do {
      digits[--at] = static_cast<wchar_t>(L'0' + number % 10);
      number /= 10;
    } while (number > 0 && at > 0);
    Add(digits + at);
  }
  // A string-table text whose "%s" and "%d" take the values in order.
  void Fill(const SaverHost* host, UINT id, std::initializer_list<const wchar_t*> values) {
    wchar_t pattern[256];
    LoadStringIn(host, id, pattern, 256);
    const wchar_t* const* value = values.begin();
    for (const wchar_t* at = pattern; *at; ++at) {
      if (at[0] == L'%' && (at[1] == L's' || at[1] == L'd') && value != values.end()) {
        Add(*value++);
        ++at;
      } else {
        wchar_t single[2] = {*at, L'\0'};
        Add(single);
      }
    }
  }
};

struct MessageText : WideText {
  wchar_t buffer[8192];
  MessageText() : WideText(buffer, sizeof buffer / sizeof buffer[0]) {}
};

// A message box with the designer's caption; returns the button pressed.
int Show(HWND owner, const MessageText& message, UINT buttons);
