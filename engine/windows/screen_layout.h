// Where a saver window's picture lies on the display: the virtual screen with each monitor in it
// for the full-screen window, the primary screen for a preview.
#pragma once
#include <windows.h>

#include "engine.h"

// A preview shows the primary monitor's picture: that is the screen the display settings draw
// around their preview, so its shape and its wallpaper are the ones the user expects there.
void ReadScreenLayout(HWND window, bool preview, SceneGeometry* geometry);
