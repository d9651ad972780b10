// The page procedures of the configuration dialog. Each editing page fills its controls from
// the settings when it is created and writes all of them back when it is destroyed.
#pragma once
#include <windows.h>

INT_PTR CALLBACK InfoPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK BackgroundPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK CharacterPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ModulePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
