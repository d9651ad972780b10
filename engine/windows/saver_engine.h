// The engine inside a saver window: the one window procedure body that the player's and the
// designer's SaverProcedure share; they differ only in where the scene comes from.
#pragma once
#include <windows.h>

struct SceneSource;

// Opens the program's scene source at WM_CREATE; its close() ends it once loading is over.
typedef SceneSource* (*OpenSceneSource)(HWND window);

// The message numbers that the engine handles (WM_CREATE, WM_DESTROY, WM_PAINT,
// WM_ERASEBKGND, WM_TIMER); every other message goes to DefaultSaverHandling.
LRESULT EngineSaverProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                             OpenSceneSource openSource);

// The start-up failure message: the text and caption are string resources 3 and 4 of the
// program, so that each program carries its own caption. String 1 is left to the name the
// display settings list a saver by: a packaged saver has none and is listed by its file name.
const UINT kNotEnoughMemoryText = 3;
const UINT kStartupFailureCaption = 4;
