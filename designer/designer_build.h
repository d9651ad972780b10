// The Create button's build: the package builder with the designer's settings and the player
// image that the designer carries at the end of its own file.
#pragma once

// status is "0" before the call and "1" after any failure.
void BuildFromDesignerSettings(const char* outputPath, char* status);
