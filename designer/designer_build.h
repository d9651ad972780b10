// The Create button's build: the package builder with the designer's settings and the player
// image that the designer carries at the end of its own file.
#pragma once
#include "package_builder.h"

// status is "0" before the call and "1" after any failure; listener (may be null) hears of every
// file the build left out or noted, and why.
void BuildFromDesignerSettings(const char* outputPath, char* status, WalkListener* listener);
