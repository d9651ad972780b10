// The engine inside a saver window: the one window procedure body that the player's and the
// designer's SaverProcedure share; they differ only in where the scene comes from.
#pragma once
#include <windows.h>

struct SaverHost;
struct SceneModel;
struct SceneSource;

// WM_CREATE: the window's scene, loaded from the source (which the load closes); the engine keeps
// it in the host's program slot until WM_DESTROY. A scene that cannot start ends in the start-up
// failure message and the window's destruction.
LRESULT StartEngineSaver(SaverHost* host, HWND window, SceneSource* source);

// Every later message: the engine handles WM_DESTROY, WM_PAINT, WM_ERASEBKGND and WM_TIMER;
// every other message goes to DefaultSaverHandling.
LRESULT EngineSaverProcedure(SaverHost* host, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The scene the engine plays in the host's saver window; null before WM_CREATE and after
// WM_DESTROY.
const SceneModel* EngineSaverScene(const SaverHost* host);

// The start-up failure message: the text and caption are string resources 3 and 4 of the
// program, so that each program carries its own caption. String 1 is left to the name the
// display settings list a saver by: a packaged saver has none and is listed by its file name.
const UINT kNotEnoughMemoryText = 3;
const UINT kStartupFailureCaption = 4;
