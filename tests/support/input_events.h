// Input as the user makes it: key presses and mouse clicks through the system's input queue,
// delivered to whichever window has the focus.
#pragma once
#include <windows.h>

#include <initializer_list>

inline void PressKey(WORD key) {
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = key;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof(INPUT));
}

// A key pressed while the modifiers (VK_CONTROL, VK_SHIFT) are held: modifiers down, the key,
// modifiers up in reverse order.
inline void PressChord(std::initializer_list<WORD> modifiers, WORD key) {
  INPUT input[8] = {};
  UINT count = 0;
  for (WORD modifier : modifiers) input[count++].ki.wVk = modifier;
  input[count++].ki.wVk = key;
  input[count].ki.wVk = key;
  input[count++].ki.dwFlags = KEYEVENTF_KEYUP;
  for (auto m = modifiers.end(); m != modifiers.begin();) {
    input[count].ki.wVk = *--m;
    input[count++].ki.dwFlags = KEYEVENTF_KEYUP;
  }
  for (UINT i = 0; i < count; ++i) input[i].type = INPUT_KEYBOARD;
  SendInput(count, input, sizeof(INPUT));
}

inline void ClickMouse(DWORD down, DWORD up) {
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = down;
  input[1].mi.dwFlags = up;
  SendInput(2, input, sizeof(INPUT));
}
