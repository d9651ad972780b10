// Input as the user makes it: key presses and mouse clicks through the system's input queue,
// delivered to whichever window has the focus.
#pragma once
#include <windows.h>

inline void PressKey(WORD key) {
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = key;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof(INPUT));
}

inline void ClickMouse(DWORD down, DWORD up) {
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = down;
  input[1].mi.dwFlags = up;
  SendInput(2, input, sizeof(INPUT));
}
